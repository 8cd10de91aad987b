# Thin wrapper over CMake. Each target installs what is missing first.
#   make run    build and start the program against the simulated unit
#   make test   build and run every test, then the same tests under the sanitizers
BUILD ?= build
BUILD_SAN ?= build-sanitize
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 10
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
SIM_LINK = $(CURDIR)/$(BUILD)/kestrin-sim-link

.PHONY: all deps-run deps-test build run test test-plain test-sanitize fuzz bench clean

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
	$(MAKE) fuzz

test-plain: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize:
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIN_SANITIZE=ON -DKESTRIN_BENCH=OFF
	cmake --build $(BUILD_SAN) -j $(JOBS)
	cd $(BUILD_SAN) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Every reader of outside bytes under libFuzzer for a short while; a crash fails the run.
FUZZ_TARGETS = $(basename $(notdir $(wildcard tests/fuzz/fuzz_*.cpp)))
fuzz:
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIN_GUI=OFF -DKESTRIN_FUZZ=ON -DKESTRIN_BENCH=OFF -DKESTRIN_TESTS=ON
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
	    echo "fuzzing $$t for $(FUZZ_SECONDS) s"; \
	    $(BUILD_FUZZ)/tests/$$t -max_total_time=$(FUZZ_SECONDS) > $(BUILD_FUZZ)/$$t.log 2>&1 \
	        || { tail -40 $(BUILD_FUZZ)/$$t.log; exit 1; }; \
	    tail -1 $(BUILD_FUZZ)/$$t.log; \
	done

bench: build
	@for b in $(BUILD)/tests/bench_*; do \
	    [ -f "$$b" ] && [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; \
	done; true

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_FUZZ)
