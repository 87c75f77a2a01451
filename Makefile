# The two commands a fresh machine needs: `make play` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
# Extra settings for the first configure, e.g. CMAKE_ARGS=-DVOLLEEN_WERROR=ON.
CMAKE_ARGS ?=
# `make install PREFIX=/usr DESTDIR=/tmp/stage`: /usr puts the game in
# /usr/games, as Debian has its games; any other prefix in PREFIX/bin.
PREFIX ?= /usr/local
DESTDIR ?=
# What playing, installing and packaging build: the game, the generator and
# the data it draws; the icons and the man page for installing.
GAME_TARGETS = volleen data
INSTALL_TARGETS = $(GAME_TARGETS) icons install_docs

.PHONY: play test check format install package build deps configure screenshots clean web web-serve bench windows

# Configures with the tools of one purpose: deps-play, deps-package, deps-test.
deps-%:
	@scripts/install-deps $*

configure-%: deps-%
	@cmake -S . -B $(BUILD) -G "Unix Makefiles" $(CMAKE_ARGS) >/dev/null

# Builds only what playing needs and starts the game in the data folder, so
# keys.dat is kept beside the pictures and sounds.
play: configure-play
	@cmake --build $(BUILD) -j $(JOBS) --target $(GAME_TARGETS)
	cd $(BUILD)/data && ../volleen

build: configure-test
	@cmake --build $(BUILD) -j $(JOBS)

# The browser test needs the site, made wherever Emscripten is installed;
# the Windows tests the zip, made wherever mingw-w64 and wine are.
test: build
	@if command -v em++ >/dev/null 2>&1; then $(MAKE) --no-print-directory web; fi
	@if command -v $(MINGW_CXX) >/dev/null 2>&1 && command -v wine >/dev/null 2>&1; then \
		$(MAKE) --no-print-directory windows; fi
	scripts/run-tests $(BUILD) $(JOBS)

# The unit tests alone (ctest label `unit`): no end-to-end runs, windows,
# browser or fuzzers. Well under a minute once built.
check: build
	cd $(BUILD) && ctest -L unit --output-on-failure -j $(JOBS)

# Lays out every C++ file by .clang-format (clang-format 14, as CI checks it).
format:
	@scripts/format

install: configure-play
	@cmake --build $(BUILD) -j $(JOBS) --target $(INSTALL_TARGETS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# $(BUILD)/package/volleen_<version>_<arch>.deb
package: configure-package
	@cmake --build $(BUILD) -j $(JOBS) --target $(INSTALL_TARGETS)
	cd $(BUILD) && cpack

deps: deps-test
configure: configure-test

# The browser build: a static site in $(BUILD)/web/ (index.html, volleen.js,
# .wasm and .data), made with Emscripten from the native build's data folder
# and baked font. Emscripten's optimiser finds its modules only through
# NODE_PATH when the node on the PATH is not Debian's.
WEB_BUILD ?= $(BUILD)/web-cmake
WEB_PORT ?= 8000
web: configure-test
	@cmake --build $(BUILD) --target data baked_font icons -j $(JOBS)
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -G "Unix Makefiles" \
		-DCMAKE_BUILD_TYPE=Release -DVOLLEEN_TESTS=OFF $(CMAKE_ARGS) \
		-DVOLLEEN_NATIVE_BUILD=$(abspath $(BUILD)) -DVOLLEEN_WEB_DIR=$(abspath $(BUILD))/web >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS)

# The Windows build: $(WINDOWS_BUILD)/volleen-<version>-windows-x64.zip,
# cross-built with mingw-w64 against a prefix of SDL2, SDL2_ttf, FreeType
# and ENet that scripts/mingw-deps builds from Debian's sources once (kept in
# $(WINDOWS_BUILD) and in ~/.cache/volleen), with the native build's data.
WINDOWS_BUILD ?= build-windows
MINGW_CXX = x86_64-w64-mingw32-g++-posix
windows: configure-test
	@cmake --build $(BUILD) --target data -j $(JOBS)
	@prefix=$$(scripts/mingw-deps $(WINDOWS_BUILD)) && \
		cmake -S . -B $(WINDOWS_BUILD) -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
		-DVOLLEEN_MINGW_PREFIX="$$prefix" -DVOLLEEN_NATIVE_BUILD=$(abspath $(BUILD)) \
		-DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS) >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# Serves the site on this machine only, with a relay on loopback that the
# page is pointed at (the address to open is printed first).
RELAY_PORT ?= 24861
web-serve: web
	@cmake --build $(BUILD) --target volleen-relay -j $(JOBS)
	@scripts/web-serve $(BUILD) $(WEB_PORT) $(RELAY_PORT)

# Costs and timings, in a few minutes: the Google Benchmark program, then the
# real window under Xvfb at 640x480 and 1920x1080, online play, and the
# relay under a load of rooms (docs/performance.md).
BENCH_TARGETS = volleen data volleen-headless bench_frame volleen-screen-watch present_log \
	volleen-relay relay_load
bench: configure-test
	@cmake --build $(BUILD) -j $(JOBS) --target $(BENCH_TARGETS)
	$(BUILD)/bench_frame
	python3 bench/window_bench.py --game $(BUILD)/volleen --data $(BUILD)/data --tools $(BUILD)
	python3 bench/online_bench.py --runner $(BUILD)/volleen-headless --data $(BUILD)/data
	python3 bench/relay_bench.py --relay $(BUILD)/volleen-relay --load $(BUILD)/relay_load

# Screenshots of every screen, from the headless runner, into docs/screenshots/.
screenshots: configure-test
	@scripts/screenshots $(BUILD)

clean:
	rm -rf $(BUILD) $(WINDOWS_BUILD)
