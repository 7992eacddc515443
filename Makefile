# The two commands a user needs: `make run` and `make test` (`make dist`
# builds the release archive).
BUILD      := build
TOOLCHAIN  := cmake/mingw-w64-x86_64.cmake
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
# The tests wait on Wine far more than they compute (a full run uses about a
# quarter of two cores), and the second session runs its suites one after
# the other in one job: one job more than there are cores keeps two in the
# first session, and one more is for the fuzzers' brief run, which computes
# (its native build first) while the others wait.
TEST_JOBS  ?= $(shell echo $$(( $(JOBS) + 2 )))

# Each reader fuzzed natively for FUZZ_SECONDS (crashes: $(BUILD)/fuzz/crashes/).
FUZZ_SECONDS ?= 60

.PHONY: all deps build dist test run bench fuzz soak clean

all: build

deps:
	@scripts/deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The release medium: $(BUILD)/dist/Quorvel-<version>.zip and, unpacked beside
# it, the folder that the setup tests install from.
dist: build
	cmake --build $(BUILD) -j $(JOBS) --target dist

# Wine's error class is on for the test programs themselves: a program that
# dies in Wine's start-up says why only there (their main turns it off again
# for the programs they start, whose output some tests read).
test: dist
	QV_WINEDEBUG=-all,err+all scripts/wine-session.sh ctest --test-dir $(BUILD) --output-on-failure -j $(TEST_JOBS) --timeout 120

# The suite's figures against bare baselines measured in the same run:
# build/bench/results.md and results.csv. Builds only what it runs.
bench: deps $(BUILD)/CMakeCache.txt
	cmake -S . -B $(BUILD) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target bench
	mkdir -p $(BUILD)/bench
	cd $(BUILD)/bench && ../../scripts/wine-session.sh ../../scripts/wine-run.sh ../bin/QVBench.exe $(BENCH_ARGS)

run: build
	@scripts/run.sh $(BUILD)

fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz.sh $(BUILD)/fuzz

# The soak run, not part of `make test`: the daemon with eight desktops, the
# bar and an application on each, driven for minutes through their own
# interfaces; prints its figures and fails when one passes its limit. The
# configure step picks up the soak program in a build folder made before it.
soak: deps $(BUILD)/CMakeCache.txt
	cmake -S . -B $(BUILD) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target QVSoak
	scripts/wine-session.sh scripts/wine-run.sh $(BUILD)/bin/QVSoak.exe

clean:
	rm -rf $(BUILD)
