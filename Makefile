# Thin wrapper over CMake: installs what a fresh machine lacks, then builds.
#   make demo   build the toolchain, compile an example program and run it
#   make test   build everything and run every test with CTest
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test demo bench clean

all: build

deps:
	@bash tools/install_deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

demo: build
	@bash tools/demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)
