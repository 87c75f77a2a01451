# The two commands a fresh machine needs: `make play` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: play test build deps configure screenshots fuzz clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G "Unix Makefiles" >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Builds everything (the data folder included) and starts the game in it, so
# keys.dat is kept beside the pictures and sounds.
play: build
	mkdir -p $(BUILD)/data && cd $(BUILD)/data && ../volleen

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Screenshots of every screen, from the headless runner, into docs/screenshots/.
screenshots: configure
	@scripts/screenshots $(BUILD)

clean:
	rm -rf $(BUILD)
