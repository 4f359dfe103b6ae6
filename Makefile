# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# Quintagrid. `make run` builds and starts the game; `make test` builds and runs every test.
# Both first install whatever Debian packages are missing.

BUILD := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS := 60
GENERATOR := -G Ninja
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
RUN_DIR := run

PREFIX ?= /usr/local

.PHONY: all deps configure build run test test-asan test-fuzz-corpus fuzz bench format install package clean

all: build

deps:
	@sh tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD)

# The game keeps its high scores and finds its sounds in the current directory: it runs in
# run/, which `make clean` keeps, so scores survive a rebuild and stay out of the sources.
# Sample sounds are put there only when missing, so sounds of the player's own stay.
run: build
	@mkdir -p $(RUN_DIR)
	@for f in $(BUILD)/sounds/*.wav; do [ -e "$$f" ] || continue; \
		[ -e "$(RUN_DIR)/$${f##*/}" ] || cp "$$f" $(RUN_DIR)/; done
	@cp data/quintagrid-guide.txt $(RUN_DIR)/
	@cd $(RUN_DIR) && ../$(BUILD)/ui/quintagrid

test: build
	@cd $(BUILD) && ctest --output-on-failure -j2
	@$(MAKE) --no-print-directory test-asan
	@$(MAKE) --no-print-directory test-fuzz-corpus

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(GENERATOR) $(CMAKE_FLAGS) -DQUINTAGRID_SANITIZE=ON \
		-DQUINTAGRID_BUILD_BENCH=OFF > /dev/null
	@cmake --build $(ASAN_BUILD)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j2

# Speed and memory: one table of figures against their targets (takes about two minutes).
bench: build
	@python3 bench/report.py $(BUILD)

# Lays out every C++ file as .clang-format says; `make test` checks that nothing is left.
format: deps
	@sh tools/format.sh

# Installs the game, its desktop entry, icons, catalogue entry, guide and sample sounds.
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in build/.
package: build
	@cd $(BUILD) && cpack -G DEB

# The libFuzzer targets of the high-score file reader and the wave decoder, built with clang
# in their own directory.
FUZZ_TARGETS := $(FUZZ_BUILD)/fuzz_highscorefile $(FUZZ_BUILD)/fuzz_wavefile

$(FUZZ_TARGETS) &: deps
	@CC=clang CXX=clang++ cmake -S tests/fuzz -B $(FUZZ_BUILD) $(GENERATOR) > /dev/null
	@cmake --build $(FUZZ_BUILD)

# Replays the checked-in corpora through the fuzz targets: every file must pass the sanitizers.
# Each file's ".license" file beside it states its licence and is no input.
corpus_files = $(filter-out %.license,$(wildcard tests/fuzz/$(1)/*))
test-fuzz-corpus: $(FUZZ_TARGETS)
	@$(FUZZ_BUILD)/fuzz_highscorefile -runs=0 $(call corpus_files,corpus)
	@$(FUZZ_BUILD)/fuzz_wavefile -runs=0 $(call corpus_files,wave-corpus)

# Fuzzes each reader for FUZZ_SECONDS; new finds go to build-fuzz/corpus and
# build-fuzz/wave-corpus, crashes to ./crash-*.
fuzz: $(FUZZ_TARGETS)
	@mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/wave-corpus
	@$(FUZZ_BUILD)/fuzz_highscorefile -max_total_time=$(FUZZ_SECONDS) -max_len=12000 \
		$(FUZZ_BUILD)/corpus tests/fuzz/corpus
	@$(FUZZ_BUILD)/fuzz_wavefile -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
		$(FUZZ_BUILD)/wave-corpus tests/fuzz/wave-corpus

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
