# The two commands an operator or a developer needs: `make run` and `make test`.
# Both install the Debian packages they lack (as root) or name them (otherwise).

# The build tool's "Entering directory" lines say nothing a person needs.
MAKEFLAGS += --no-print-directory

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: run test deps build install package bench fuzz tsan soak format clean

deps:
	@scripts/deps.sh run

# The program, the controller simulator and kvtctl: no test and no benchmark is built.
build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DKVT_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Builds the program and the controller simulator, links the simulator as COM1 of the
# program folder and starts the program on it.
run: build
	@scripts/run.sh $(BUILD)

# Installs the program, its languages, its menu entry and its icon under PREFIX.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the program (kvt-program_<version>_<arch>.deb in the build folder), which
# installs with `apt install ./<file>.deb` and pulls in its Qt libraries.
package: build
	@scripts/deps.sh package
	@cd $(BUILD) && cpack -G DEB

# The layout, shape and formatting checks, then the whole suite three times (a plain build, one
# with AddressSanitizer and UndefinedBehaviorSanitizer, one with ThreadSanitizer; any sanitizer
# report fails the run), the Debian package, and each fuzz target briefly; the time of each
# stage at the end.
test:
	@scripts/deps.sh test
	@scripts/test.sh $(BUILD) $(ASAN_BUILD)

# Benchmarks, run on request; figures go to README.md by hand.
bench:
	@scripts/deps.sh test
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DKVT_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target kvt_bench
	@$(BUILD)/bench/kvt_bench

# Fuzzes each target (reply handler, scrambled stream, language files, program files) for
# FUZZ_SECONDS (default ten minutes each).
FUZZ_SECONDS ?= 600
fuzz:
	@scripts/deps.sh test
	@scripts/fuzz.sh $(FUZZ_SECONDS)

# The soak of the end-to-end tests, 10,000 lines long instead of the 2,000 of make test
# (KVT_SOAK_SEED=<n> repeats the run of a seed).
soak:
	@scripts/deps.sh test
	@cmake -S . -B $(BUILD) -DBUILD_TESTING=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target e2e_tests
	@KVT_SOAK_LINES=10000 $(BUILD)/tests/e2e_tests --gtest_filter='Soak*'

# The serial, end-to-end, window and unit tests under ThreadSanitizer (also part of make test).
tsan:
	@scripts/deps.sh test
	@scripts/tsan.sh build-tsan

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-tsan build-fuzz
