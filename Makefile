# Thin wrapper over CMake. `make run` builds and starts Stallmark;
# `make test` builds and runs every test headless; `make package` builds the
# Debian package (in $(BUILD), stallmark_<version>_<arch>.deb).
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test package bench clean

all: build

setup:
	bash scripts/setup-debian.sh

configure: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/stallmark

test: setup
	cmake -S . -B $(BUILD) -DSTALLMARK_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	# A test that fails is run once more before the run counts it failed: the
	# X11 and Wine tests drive real servers whose timing a busy machine can upset.
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error --repeat until-pass:2 -j $(JOBS)

package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
