# The two entry points: `make run FILE=path` shows a file's checksums, `make test` runs every test.
# `make bench` measures the digest engine against OpenSSL, zlib and rhash on each processor class
# (not part of the tests).
# `make dist` writes the release into build/dist: calculate-checksums-VERSION-win64.zip, its debug
# information calculate-checksums-VERSION-win64-debug.zip, the setup program
# calculate-checksums-VERSION-win64-setup.exe, the bill of materials and SHA256SUMS.
# `make fuzz` runs the fuzz targets for FUZZ_SECONDS each; `make test` gives them 10 s each.
.PHONY: run test checks bench dist fuzz deps native win64 fuzzers test-phases

FUZZ_SECONDS ?= 600
# Each phase's time goes to PHASE_LOG when it is set (make test sets it and prints it at the end).
PHASE := scripts/timed-phase.sh

deps:
	@scripts/install-deps.sh

native: deps
	$(PHASE) "configure native" cmake --preset native >/dev/null
	$(PHASE) "build native" cmake --build --preset native

win64: deps
	$(PHASE) "configure win64" cmake --preset win64 >/dev/null
	$(PHASE) "build win64" cmake --build --preset win64

fuzzers: deps
	$(PHASE) "configure fuzz" cmake --preset fuzz >/dev/null
	$(PHASE) "build fuzz" cmake --build --preset fuzz

run: deps
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 --target checksums show-window
	scripts/run-tool.sh "$(FILE)"

dist: deps
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 --target dist

# Before any build: every include points down and the C++ files are as clang-format leaves them.
checks: deps
	$(PHASE) "checks" scripts/check-includes.py --units
	$(PHASE) "format" scripts/check-format.sh

TEST_PHASES := build/test-phases.txt
FUZZ_OUTPUT := build/fuzz-run.txt
test: export PHASE_LOG := $(abspath $(TEST_PHASES))
test: test-phases checks native win64
	$(PHASE) "native tests" ctest --preset native
	@# The fuzz targets are built, then run for a set time each, beside the Windows tests, which
	@# leave the processor idle much of the time while they wait for windows; at a low
	@# priority, so that they take mostly that idle time. Their table follows.
	{ nice -n 10 $(MAKE) --no-print-directory fuzzers && \
	  $(PHASE) "fuzz targets" nice -n 10 scripts/run-fuzz.sh 10; } \
	  >$(FUZZ_OUTPUT) 2>&1 & fuzzing=$$!; \
	  $(PHASE) "Windows tests (Wine)" scripts/wine-session.sh ctest --preset win64; windows=$$?; \
	  wait $$fuzzing; fuzzed=$$?; cat $(FUZZ_OUTPUT); [ $$windows -eq 0 ] && [ $$fuzzed -eq 0 ]
	@echo "make test, phase by phase (the fuzz build and targets beside the Windows tests):"; cat $(TEST_PHASES)

test-phases:
	@mkdir -p build && rm -f $(TEST_PHASES)

fuzz: fuzzers
	scripts/run-fuzz.sh $(FUZZ_SECONDS)

# For every processor class this processor can run: each algorithm's throughput on 1 MiB updates
# and the whole report of a 1 GiB file (made on first use), our backends pinned to the class
# beside OpenSSL held to it, zlib and rhash. The tables go to BENCH_RESULTS and replace this
# processor's section below PERFORMANCE_MARKER in docs/performance.md (other processors' stay); then, under Wine, the text of drops of
# up to 100,000 files; then checksums-cli on many small files beside coreutils, natively and
# under Wine (to BENCH_RESULTS); last, the verifying window against checksums-cli -c on 1,000 small
# files and one 1 GiB file, under Wine (to BENCH_RESULTS). The verifying window's peak memory on a
# sums file of 1.28 million lines is measured natively, after the digest engine.
BENCH_DIR := build/native/bench
BENCH_RESULTS := $(BENCH_DIR)/results.md
PERFORMANCE_DOC := docs/performance.md
PERFORMANCE_MARKER := <!-- Everything below is the output of make bench. -->

bench: deps
	cmake --preset native >/dev/null
	cmake --build --preset native --target digest_bench checksums-cli verify_memory_bench
	bash -o pipefail -c '$(BENCH_DIR)/digest_bench $(BENCH_DIR)/report-1gib.bin | tee $(BENCH_RESULTS)'
	bash -o pipefail -c '$(BENCH_DIR)/verify_memory_bench $(BENCH_DIR)/verify-memory \
	  | tee -a $(BENCH_RESULTS)'
	scripts/update-performance-doc.py $(PERFORMANCE_DOC) '$(PERFORMANCE_MARKER)' $(BENCH_RESULTS)
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 --target dropped_names checksums-cli
	bash -o pipefail -c 'scripts/wine-session.sh wine build/win64/bench/dropped_names.exe \
	  | tr -d "\r" | tee -a $(BENCH_RESULTS)'
	bash -o pipefail -c 'scripts/wine-session.sh python3 bench/many_files.py \
	  build/native/checksums-cli build/win64/checksums-cli.exe | tee -a $(BENCH_RESULTS)'
	cmake --build --preset win64 --target verify_window_bench
	bash -o pipefail -c 'scripts/wine-session.sh wine build/win64/bench/verify_window_bench.exe \
	  "Z:$(CURDIR)/build/win64/bench/verify-data" | tr -d "\r" | tee -a $(BENCH_RESULTS)'
