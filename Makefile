# Front door of the project: `make test` and `make run` (see README.md).

BUILD_DIR   ?= build
RELEASE_DIR ?= build-release
BENCH_DIR   ?= build-bench
FUZZ_DIR    ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS        ?= $(shell nproc)
PACKAGES    := cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libsdl2-dev \
               clang libclang-rt-14-dev

.PHONY: all deps configure build test test-shuffled release run bench fuzz clean

all: build

# Installs what a fresh Debian machine lacks, and only that.
deps:
	@missing=""; \
	for package in $(PACKAGES); do \
	  dpkg -s $$package >/dev/null 2>&1 || missing="$$missing $$package"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -ne 0 ]; then \
	    echo "Missing packages:$$missing"; \
	    echo "Install them with: sudo apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	  echo "Installing:$$missing"; \
	  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
TEST_ENV      := YOB_HEADLESS=1 SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

# ctest runs every test on its own.
test: build
	cd $(BUILD_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Every GoogleTest program runs once whole, in shuffled order, so that a test
# that depends on what ran before it is caught. A failing program's output
# (with its shuffle seed) is shown. Not yet part of `test`: the run-time
# library's program still has tests that fail in some orders.
test-shuffled: build
	cd $(BUILD_DIR) && $(SANITIZER_ENV) $(TEST_ENV) xargs -a GoogleTestPrograms.txt -P $(JOBS) -I{} \
	  sh -c '"{}" --gtest_shuffle > "{}.shuffled.log" 2>&1 && echo "Shuffled whole: {} passed" \
	    || { cat "{}.shuffled.log"; echo "Shuffled whole: {} FAILED"; exit 1; }'

release: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DLUMO_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: release
	@if [ -x $(RELEASE_DIR)/Yobbozers ]; then \
	  cd $(RELEASE_DIR) && ./Yobbozers; \
	else \
	  echo "The game program is not built yet: only the libraries exist so far."; \
	fi

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DLUMO_TESTS=OFF -DLUMO_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)
	@for program in $(BENCH_DIR)/bench/*_bench; do \
	  [ -x "$$program" ] && "$$program"; \
	done; true

# Builds the libFuzzer targets with clang in a build folder of their own (the
# normal build stays g++; its tests replay the seed corpora) and runs each
# target for FUZZ_SECONDS seconds.
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Debug -DLUMO_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_DEBUG="-O2 -g"
	cmake --build $(FUZZ_DIR) --target fuzz_targets -j $(JOBS)
	fuzz/RunFuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR) $(BENCH_DIR) $(FUZZ_DIR)
