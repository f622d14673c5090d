# Quick start: `make run` builds and starts the app, `make test` builds and runs every test.
# Both run the bootstrap first, which installs only the Debian packages that are missing.

BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE   ?= cmake
GEN     := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all bootstrap configure build run test bench test-asan soak fuzz format format-check clean package

all: build

bootstrap:
	@bash scripts/bootstrap.sh

$(BUILD)/CMakeCache.txt: | bootstrap
	$(CMAKE) -S . -B $(BUILD) $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: bootstrap $(BUILD)/CMakeCache.txt

build: configure
	$(CMAKE) --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/quorvel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: bootstrap
	$(CMAKE) -S . -B $(BUILD)-release $(GEN) -DCMAKE_BUILD_TYPE=Release
	$(CMAKE) --build $(BUILD)-release -j $(JOBS) --target benchmarks
	@for b in $(BUILD)-release/bench/*_bench; do echo "== $$b"; $$b; done

# Everything, the Qt shell and its tests included, under AddressSanitizer and
# UndefinedBehaviorSanitizer; the shell's tests on Qt's offscreen platform. Leaks inside the
# system's own libraries (fonts) are suppressed by tests/lsan.supp; ours are not.
SAN_ENV = ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 QT_QPA_PLATFORM=offscreen
test-asan: bootstrap
	$(CMAKE) -S . -B $(BUILD)-asan $(GEN) -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON -DQUORVEL_CORE_ONLY=OFF
	$(SAN_ENV) $(CMAKE) --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && $(SAN_ENV) ctest --output-on-failure -j $(JOBS)

# The random-input soak of every page through the main window, in the sanitizer build:
# SECONDS in all (shared by the units and the menu pages), SEED to replay a run (docs/soak.md).
SECONDS ?= 600
SEED    ?= 1
soak: bootstrap
	$(CMAKE) -S . -B $(BUILD)-asan $(GEN) -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON -DQUORVEL_CORE_ONLY=OFF
	$(SAN_ENV) $(CMAKE) --build $(BUILD)-asan -j $(JOBS) --target quorvel_soak
	$(SAN_ENV) $(BUILD)-asan/bin/quorvel_soak --seconds $(SECONDS) --seed $(SEED)

# libFuzzer targets under AddressSanitizer and UndefinedBehaviorSanitizer (clang), seeded from
# the sample documents; FUZZ_SECONDS per target, or FUZZ_RUNS executions each (docs/fuzzing.md).
FUZZ_SECONDS ?= 10
FUZZ_RUNS    ?=
FUZZ_TARGETS ?=
fuzz: bootstrap
	$(CMAKE) -S . -B $(BUILD)-fuzz $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_FUZZ=ON -DQUORVEL_CORE_ONLY=ON
	$(CMAKE) --build $(BUILD)-fuzz -j $(JOBS) --target fuzzers
	fuzz/run.sh $(BUILD)-fuzz $(if $(FUZZ_RUNS),--runs $(FUZZ_RUNS),--seconds $(FUZZ_SECONDS)) $(FUZZ_TARGETS)

# The Debian package: the program folder under /usr/lib/quorvel, the desktop files beside it,
# dependencies found by dpkg-shlibdeps; then its layout unpacked into a scratch root, the
# validators and lintian (tests/package/check_package.sh). The .deb lands in $(BUILD)-package/package.
package: bootstrap
	$(CMAKE) -S . -B $(BUILD)-package $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQUORVEL_INSTALL_DIR=lib/quorvel -DQUORVEL_PACKAGE=ON -DQUORVEL_BENCH=OFF
	$(CMAKE) --build $(BUILD)-package -j $(JOBS) --target quorvel_package_files
	cd $(BUILD)-package && cpack -G DEB
	cd $(BUILD)-package && ctest --output-on-failure -L 'package|desktop'

format: bootstrap
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

format-check: bootstrap
	@git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror 2>/dev/null \
	    || { echo "Formatting differs; run: make format"; exit 1; }

clean:
	rm -rf $(BUILD) $(BUILD)-release $(BUILD)-asan $(BUILD)-fuzz $(BUILD)-package
