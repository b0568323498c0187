# Thin wrapper over CMake. `make run` builds and starts Stallmark;
# `make test` builds and runs every test headless; `make sanitize` runs them
# again under AddressSanitizer and UBSan; `make fuzz` runs the fuzz targets;
# `make package` builds the Debian package (in $(BUILD),
# stallmark_<version>_<arch>.deb).
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 10

.PHONY: all setup configure build run test sanitize fuzz package bench clean

all: build

setup:
	bash scripts/setup-debian.sh

configure: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/stallmark

# Tests that drive an outside server get one more run when they fail: the X11 game link
# tests (Xvfb, with and without openbox) and the Windows tests (wine64 and its
# wineserver), whose timing a busy machine can upset. Every other test counts at its first
# run.
RETRY_TESTS ?= ^(WindowManagers/X11GameLinkTest\.|Wine\.)

test: setup
	cmake -S . -B $(BUILD) -DSTALLMARK_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	JOBS=$(JOBS) bash scripts/run-ctest.sh $(BUILD) '$(RETRY_TESTS)'

# The whole suite with AddressSanitizer and UBSan, in build-asan.
sanitize: setup
	JOBS=$(JOBS) CMAKE_FLAGS='$(CMAKE_FLAGS)' RETRY_TESTS='$(RETRY_TESTS)' bash scripts/sanitize.sh build-asan

# Each fuzz target for FUZZ_SECONDS seconds with libFuzzer, in build-fuzz.
fuzz: setup
	JOBS=$(JOBS) CMAKE_FLAGS='$(CMAKE_FLAGS)' FUZZ_SECONDS=$(FUZZ_SECONDS) bash scripts/fuzz.sh build-fuzz

package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-asan build-fuzz
