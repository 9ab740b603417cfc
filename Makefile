# The two commands of the README, and their parts. SANITIZE=1 builds with AddressSanitizer and UBSan,
# SANITIZE=thread with ThreadSanitizer.
BUILD_DIR := build
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
# What runs the build's own programs (the art generator, the game, the tests): as they are, unless said below.
RUN :=
ifeq ($(SANITIZE),1)
BUILD_DIR := build-sanitize
CMAKE_FLAGS += -DQUORLIX_SANITIZE=ON
endif
# NOTE: this compiler's ThreadSanitizer knows the address layout of at most 28 random bits in mmap addresses
# (vm.mmap_rnd_bits): with more, every program it built stops at start with "unexpected memory mapping". There
# they run without address randomisation (setarch -R, inherited by all they start), which needs no root and
# leaves the machine's setting alone.
ifeq ($(SANITIZE),thread)
BUILD_DIR := build-tsan
CMAKE_FLAGS += -DQUORLIX_SANITIZE_THREAD=ON
RUN := $(shell [ "$$(cat /proc/sys/vm/mmap_rnd_bits 2>/dev/null || echo 28)" -le 28 ] || echo setarch $$(uname -m) -R)
endif
WEB_DIR := build-web
# The plain build's tests play the web site in a browser too: `make test` builds the site first and tells the
# build where it is. The sanitizers' builds leave the page out (its program is the toolchain's, not theirs).
ifeq ($(SANITIZE),)
TEST_WEB_SITE := web-site
TEST_WEB_FLAGS := -DQUORLIX_WEB_BUILD=$(CURDIR)/$(WEB_DIR)
endif
JOBS ?= 2
FUZZ_SECONDS ?= 1800

.PHONY: play test soak deps build package bench bench-web bench-web-phone fuzz clean web web-site

play: build
	cd $(CURDIR) && $(RUN) $(BUILD_DIR)/quorlix

test: build $(TEST_WEB_SITE)
	cd $(BUILD_DIR) && $(RUN) ctest --output-on-failure -j$(JOBS)

# The long soaks: an hour of play in process (216,000 updates, random input on every screen), then ten minutes of
# the real binary under random input on a virtual display. `make test` runs a short in-process soak only.
soak: build
	cd $(BUILD_DIR) && QUORLIX_SOAK_UPDATES=216000 ALSOFT_CONF=$(CURDIR)/tests/support/openal-silent.conf \
	  nice -n 19 tests/soak/soak_tests
	QUORLIX_BIN=$(CURDIR)/$(BUILD_DIR)/quorlix QUORLIX_WITH_DISPLAY=$(CURDIR)/tests/support/with-display \
	  nice -n 19 tests/support/with-display bash tests/soak/real_binary.sh

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) $(TEST_WEB_FLAGS)
	$(RUN) cmake --build $(BUILD_DIR) -j$(JOBS)

# The Debian package, quorlix_<version>_<arch>.deb, in the build folder.
package: build
	cmake --build $(BUILD_DIR) --target package

bench: build
	for b in $(BUILD_DIR)/bench/bench_*; do "$$b"; done
	ALSOFT_CONF=$(CURDIR)/tests/support/openal-silent.conf tests/support/with-display $(BUILD_DIR)/bench/side_by_side
	ALSOFT_CONF=$(CURDIR)/tests/support/openal-silent.conf tests/support/with-display $(BUILD_DIR)/bench/side_by_side 10 1280 1024

# The play frame's cost in the desktop game and in its web page, side by side; then a first visit as a phone
# sees it (PHONE_VISITS visits under Lighthouse's mobile profile, and Lighthouse's mobile and desktop scores),
# which `make bench-web-phone` runs alone.
PHONE_VISITS ?= 3
bench-web: build web-site bench/web/node_modules/.package-lock.json
	ALSOFT_CONF=$(CURDIR)/tests/support/openal-silent.conf tests/support/with-display \
	  bash bench/web_side_by_side.sh $(BUILD_DIR) $(WEB_DIR)
	node bench/web_phone.mjs $(WEB_DIR) $(PHONE_VISITS)

bench-web-phone: web-site bench/web/node_modules/.package-lock.json
	node bench/web_phone.mjs $(WEB_DIR) $(PHONE_VISITS)

# Lighthouse for the phone's benchmark, at the version of its lock file: a folder of its own, so that the
# browser tests' npm ci stays lean.
bench/web/node_modules/.package-lock.json: bench/web/package.json bench/web/package-lock.json
	cd bench/web && npm ci --no-audit --no-fund

# Each fuzzer in turn for FUZZ_SECONDS (FUZZ_RUNS executions, if given, end a target sooner), at the lowest
# priority; the corpora are kept under $(BUILD_DIR)/tests/fuzz. FUZZ_TARGETS picks some (names as in targets.txt).
fuzz: build
	FUZZ_SECONDS=$(FUZZ_SECONDS) nice -n 19 tests/fuzz/fuzz-all $(BUILD_DIR)/tests/fuzz/targets.txt $(FUZZ_TARGETS)

# The game in a web page (web/): the site in $(WEB_DIR)/site, built by Debian's emscripten from the same sources,
# with the art and sounds the desktop build generates and the art levels it writes out of the game's source;
# `make web` serves it on the loopback until interrupted.
# NOTE: the toolchain's JavaScript optimiser finds acorn only among Debian's Node.js modules.
web-site: deps web/node_modules/.package-lock.json
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) $(TEST_WEB_FLAGS)
	cmake --build $(BUILD_DIR) -j$(JOBS) --target quorlix_data quorlix_art_levels_files
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=Release \
	  -DQUORLIX_WEB_DATA=$(CURDIR)/$(BUILD_DIR)
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_DIR) -j$(JOBS)

web: web-site
	node web/serve.mjs $(WEB_DIR)/site 8080

# The page's build packages and the browser tests' driver, at the versions of the lock file.
web/node_modules/.package-lock.json: web/package.json web/package-lock.json
	cd web && npm ci --no-audit --no-fund

clean:
	rm -rf build build-sanitize build-tsan $(WEB_DIR)
