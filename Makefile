# Thin wrapper over CMake. Each target installs what is missing first.
#   make run    build and start the program against the simulated unit
#   make test   build and run every test, then the same tests under the sanitizers
BUILD ?= build
BUILD_SAN ?= build-sanitize
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
SIM_LINK = $(CURDIR)/$(BUILD)/kestrin-sim-link

.PHONY: all deps-run deps-test build run test test-plain test-sanitize bench clean

all: build

deps-run:
	@scripts/deps.sh run

deps-test:
	@scripts/deps.sh test

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: deps-run build
	@scripts/run.sh $(BUILD)

test: deps-test
	$(MAKE) test-plain
	$(MAKE) test-sanitize

test-plain: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize:
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIN_SANITIZE=ON -DKESTRIN_BENCH=OFF
	cmake --build $(BUILD_SAN) -j $(JOBS)
	cd $(BUILD_SAN) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/tests/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD) $(BUILD_SAN)
