# Thin front door over the CMake presets; `make run`, `make test` and `make bench` each install
# what is missing first.
PRESET ?= ci

.PHONY: deps build run test test-asan bench clean

deps:
	@sh tools/deps.sh

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	build/$(PRESET)/app/orvel

test: build
	ctest --preset $(PRESET)

test-asan: deps
	cmake --preset asan-ubsan
	cmake --build --preset asan-ubsan
	ctest --preset asan-ubsan

bench: build
	build/$(PRESET)/bench/step_bench --benchmark_min_time=1
	build/$(PRESET)/bench/threshold_agreement 1000000
	@for steps in 10000 10000000; do \
	  /usr/bin/time -f "peak resident memory of $$steps steps: %M KiB" \
	    build/$(PRESET)/bench/step_loop $$steps; \
	done
	build/$(PRESET)/bench/run_bench
	bench/batch_bench.sh build/$(PRESET)
	QT_QPA_PLATFORM=offscreen build/$(PRESET)/bench/toolkit_bench
	QT_QPA_PLATFORM=offscreen build/$(PRESET)/bench/window_bench 3
	xvfb-run -a build/$(PRESET)/bench/window_bench 3

clean:
	rm -rf build
