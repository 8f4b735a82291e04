# Thin front door: set-up, the three builds and their tests.
#   make test   set up, build everything, run every test
#   make demo   set up, build, and uninstall a sample product under Wine
#   make fuzz   fuzz the log reader and the run: FUZZ_SECONDS=N (default 600,
#               0 = until stopped); make test fuzzes for FUZZ_TEST_SECONDS (60)
#   make bench  measure speed, memory and size; prints a table and rewrites
#               BENCHMARKS.md (BENCH_ARGS, e.g. "--sizes 1000 --reps 3")
SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 600
FUZZ_TEST_SECONDS ?= 60

.PHONY: all setup build test test-native test-win64 test-win32 demo clean build-fuzz test-fuzz fuzz bench

all: build

setup:
	@tools/setup.sh

build: setup
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j$(JOBS)
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j$(JOBS)

test-native:
	ctest --preset native -j$(JOBS)

test-win64:
	ctest --preset win64 -j$(JOBS)

test-win32:
	ctest --preset win32

build-fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j$(JOBS)

test-fuzz: build-fuzz
	tools/fuzz-run $(FUZZ_TEST_SECONDS)

fuzz: build-fuzz
	tools/fuzz-run $(FUZZ_SECONDS)

bench: setup
	tools/bench/run-bench $(BENCH_ARGS)

test: build build-fuzz
	$(MAKE) --no-print-directory test-native test-win64 test-win32 test-fuzz

demo: setup
	@tools/demo

clean:
	rm -rf build
