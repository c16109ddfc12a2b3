# Two entry points for a fresh machine: `make test` and `make demo`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
SANBUILD ?= build-san

.PHONY: all setup build build-san test test-fast test-san demo clean

all: build

setup:
	@bash tools/setup.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(SANBUILD)/CMakeCache.txt:
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DKOYO_SANITIZE=ON

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

build-san: setup $(SANBUILD)/CMakeCache.txt
	cmake --build $(SANBUILD) -j $(JOBS)

# Every test, in a normal build and again under ASan and UBSan.
test: build build-san
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(SANBUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# Only the normal build's tests, for quick iterations.
test-fast: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	@bash tools/demo.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(SANBUILD)
