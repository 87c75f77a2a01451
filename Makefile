# The two commands a fresh machine needs: `make play` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
# Extra settings for the first configure, e.g. CMAKE_ARGS=-DVOLLEEN_WERROR=ON.
CMAKE_ARGS ?=

.PHONY: play test build deps configure screenshots fuzz clean web web-serve

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G "Unix Makefiles" $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Builds everything (the data folder included) and starts the game in it, so
# keys.dat is kept beside the pictures and sounds.
play: build
	mkdir -p $(BUILD)/data && cd $(BUILD)/data && ../volleen

# The browser test needs the site, made wherever Emscripten is installed.
test: build
	@if command -v em++ >/dev/null 2>&1; then $(MAKE) --no-print-directory web; fi
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The browser build: a static site in $(BUILD)/web/ (index.html, volleen.js,
# .wasm and .data), made with Emscripten from the native build's data folder
# and baked font. Emscripten's optimiser finds its modules only through
# NODE_PATH when the node on the PATH is not Debian's.
WEB_BUILD ?= $(BUILD)/web-cmake
WEB_PORT ?= 8000
web: configure
	@cmake --build $(BUILD) --target data baked_font -j $(JOBS)
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -G "Unix Makefiles" \
		-DCMAKE_BUILD_TYPE=Release -DVOLLEEN_TESTS=OFF $(CMAKE_ARGS) \
		-DVOLLEEN_NATIVE_BUILD=$(abspath $(BUILD)) -DVOLLEEN_WEB_DIR=$(abspath $(BUILD))/web >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS)

# Serves the site on this machine only.
web-serve: web
	python3 -m http.server --bind 127.0.0.1 --directory $(BUILD)/web $(WEB_PORT)

# Screenshots of every screen, from the headless runner, into docs/screenshots/.
screenshots: configure
	@scripts/screenshots $(BUILD)

clean:
	rm -rf $(BUILD)
