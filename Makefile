# Thin front door over the CMake presets; `make run`, `make test` and `make bench` each install
# what is missing first.
PRESET ?= ci

.PHONY: deps build run test test-asan test-tsan test-cluster lint fuzz bench package package-test clean

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

# Simulations in threads of their own must share nothing: every test that runs without Qt.
test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

# The README's recipes for many machines, run for real on a one-node Slurm cluster and an sshd on
# a loopback port, both started and stopped by the test itself. As root, for slurmd to start jobs.
test-cluster: build
	tests/cluster/cluster_test.sh build/$(PRESET)

# clang-tidy and cppcheck over the program's sources; any finding fails.
SOURCES = runtime neuron stimuli simulation draw state session ui chart batch app tools fuzz
lint: build
	run-clang-tidy -quiet -p build/$(PRESET) -extra-arg=-Wno-unknown-warning-option \
	  $$(git ls-files '*.cpp' | grep -E '^(runtime|neuron|stimuli|simulation|draw|state|session|ui|chart|batch|app|tools)/')
	cppcheck --quiet --enable=warning,performance,portability --std=c++20 --error-exitcode=1 \
	  --inline-suppr --suppress=missingIncludeSystem $(addprefix -I ,$(SOURCES) ui/toolkit) \
	  $(SOURCES)

# Every reader of bytes that may come from anywhere under libFuzzer for FUZZ_SECONDS each: the
# picture decoder from the stored picture, the others from their seeds in fuzz/NAME-corpus. What
# they find new is kept under build/fuzz.
FUZZ_SECONDS ?= 60
TEXT_FUZZERS = state run-record course-csv checks-csv ensemble-record lesson
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	mkdir -p build/fuzz/corpus && cp ui/orvel.jpg build/fuzz/corpus/
	build/fuzz/fuzz/picture_fuzzer -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	  -max_len=65536 -print_final_stats=1 build/fuzz/corpus
	mkdir -p build/fuzz/state-corpus && cp tests/data/state-v1.json build/fuzz/state-corpus/
	for name in $(TEXT_FUZZERS); do \
	  mkdir -p build/fuzz/$$name-corpus && \
	  build/fuzz/fuzz/$$(echo $$name | tr - _)_fuzzer -max_total_time=$(FUZZ_SECONDS) \
	    -rss_limit_mb=2048 -max_len=200000 -print_final_stats=1 \
	    build/fuzz/$$name-corpus fuzz/$$name-corpus || exit 1; \
	done

# Every speed and memory figure in one run. BASE is the commit the speed-up is measured against;
# its orvel-batch is built once under build/.
BASE ?= 8fb5a4d
bench: build
	build/$(PRESET)/bench/step_bench --benchmark_min_time=1
	build/$(PRESET)/bench/threshold_agreement 1000000
	@for steps in 10000 10000000; do \
	  /usr/bin/time -f "peak resident memory of $$steps steps: %M KiB" \
	    build/$(PRESET)/bench/step_loop $$steps; \
	done
	build/$(PRESET)/bench/run_bench
	build/$(PRESET)/bench/generator_bench --benchmark_repetitions=5 \
	  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
	bench/batch_bench.sh build/$(PRESET)
	bench/speedup_bench.sh $$(bench/base_build.sh $(BASE)) build/$(PRESET)
	bench/profile.sh build/$(PRESET)
	bench/ensemble_bench.sh build/$(PRESET)
	bench/python_bench.sh build/$(PRESET)
	QT_QPA_PLATFORM=offscreen build/$(PRESET)/bench/toolkit_bench
	QT_QPA_PLATFORM=offscreen build/$(PRESET)/bench/window_bench 3
	tools/with-xvfb.sh build/$(PRESET)/bench/window_bench 3
	bench/window_speed.sh build/$(PRESET)

# The Debian package, and a test that installs it on this machine (as root) and starts it.
package: build
	cd build/$(PRESET) && cpack

package-test: package
	tests/package/package_test.sh build/$(PRESET)/orvel_*.deb

clean:
	rm -rf build
