# Entry points for people and CI: `make demo` (the main job) and `make test` (build and pass all tests).
# Each installs the Debian packages it lacks, then builds with CMake.
SHELL := /bin/bash
JOBS ?= 2
BUILD ?= build
DEPS := cmake g++ clang make pkg-config libsqlite3-dev sqlite3 libpango1.0-dev libcairo2-dev \
        libx11-dev libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev xvfb xdotool x11-utils \
        fonts-dejavu-core fonts-liberation libclang-rt-14-dev imagemagick dpkg-dev

.PHONY: deps build test test-plain test-install test-load test-asan test-tsan test-fuzz demo bench clean

deps:
	@missing=""; for p in $(DEPS); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then echo "installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; fi

build: deps
	cmake -S . -B $(BUILD) -DVISTIP_WERROR=ON >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

# The load test (label "load", a minute of four host processes on one tip file) runs on its own.
# The screen tests (label "x11") drive a private Xvfb with xdotool one at a time; xdotool's input
# now and then goes missing there, so each of them gets up to three tries.
CTEST_ALL = ctest --output-on-failure -j$(JOBS) -LE 'load|x11' && \
            ctest --output-on-failure -L x11 --repeat until-pass:3
test-plain: build
	cd $(BUILD) && $(CTEST_ALL)

# The build as users get it: installed into a temporary prefix, the examples built out of tree
# against that prefix alone (CMake and pkg-config) and run under Xvfb, the Debian packages built.
test-install: build
	tests/install/check-install.sh $(BUILD)

test-load: build
	cd $(BUILD) && ctest --output-on-failure -L load

test-asan: deps
	cmake -S . -B build-asan -DVISTIP_BENCH=OFF -DVISTIP_SANITIZE=address,undefined >/dev/null
	cmake --build build-asan -j$(JOBS)
	cd build-asan && export ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$(CURDIR)/tests/lsan.supp print_suppressions=0" && \
	  $(CTEST_ALL)

# The threading tests (label "threads") under ThreadSanitizer, built with clang for its runtime.
TSAN_TARGETS ?= runtime_thread_tests ntpaths_threads_tests
test-tsan: deps
	CC=clang CXX=clang++ cmake -S . -B build-tsan -DVISTIP_BENCH=OFF -DVISTIP_SANITIZE=thread >/dev/null
	cmake --build build-tsan -j$(JOBS) --target $(TSAN_TARGETS)
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/tsan.supp" ctest --output-on-failure -L threads -j$(JOBS)

# Every fuzz target for FUZZ_SECONDS on a copy of its committed corpus (fuzz/*/corpus/<target>);
# a crash fails. Built with clang, AddressSanitizer and UndefinedBehaviorSanitizer.
FUZZ_SECONDS ?= 30
test-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DVISTIP_FUZZ=ON -DVISTIP_TESTS=OFF -DVISTIP_BENCH=OFF \
	  -DVISTIP_SANITIZE=address,undefined >/dev/null
	cmake --build build-fuzz -j$(JOBS)
	@set -e; for corpus in fuzz/*/corpus/*/; do \
	  name=$$(basename $$corpus); bin=$$(find build-fuzz/fuzz -type f -name $$name -perm -u+x | head -1); \
	  [ -n "$$bin" ] || { echo "no fuzz target $$name"; exit 1; }; \
	  work=$$(mktemp -d); echo "fuzzing $$name for $(FUZZ_SECONDS)s"; \
	  $$bin -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=0 $$work $$corpus \
	    >$$work.log 2>&1 || { tail -40 $$work.log; exit 1; }; rm -rf $$work $$work.log; done

test: test-plain test-install test-load test-asan test-tsan test-fuzz

demo: build
	./demo/run-demo.sh $(BUILD)

bench: build
	cmake --build $(BUILD) --target bench

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz
