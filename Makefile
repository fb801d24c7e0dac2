# Front door: every target installs missing system packages, configures and
# builds before it does its job.
#   make run    build and start the editor
#   make test   build with AddressSanitizer + UBSan and run the whole suite
#   make bench  optimised build, then the benchmarks
#   make fuzz   clang + libFuzzer build, each target fuzzed FUZZ_SECONDS (60)
#   make install PREFIX=...  install the program (default ~/.local)
#   make doc    photograph the editor again for the manual (doc/index.html)

TEST_DIR    := build/test
RELEASE_DIR := build/release
# -noreset: Xvfb otherwise resets when its last client leaves, and a test
# that connects during the reset finds no display.
XVFB        := xvfb-run -a -s "-screen 0 1600x1200x24 -noreset"
CTEST_ARGS  ?=

.PHONY: all deps run test bench fuzz build-release build-test install clean format doc

all: build-release

deps:
	@./scripts/install-deps.sh

build-release: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DKINEMO_BUILD_TESTS=OFF -DKINEMO_BUILD_BENCH=ON >/dev/null
	@cmake --build $(RELEASE_DIR)

build-test: deps
	@cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DKINEMO_SANITIZE=ON \
	    -DKINEMO_BUILD_TESTS=ON -DKINEMO_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(TEST_DIR)

SCENE ?= $(CURDIR)/examples/tube.rig

run: build-release
	$(RELEASE_DIR)/bin/kinemo $(SCENE)

test: build-test
	cd $(TEST_DIR) && $(XVFB) ctest --output-on-failure -j2 $(CTEST_ARGS)

bench: build-release
	$(RELEASE_DIR)/bin/kinemo_bench $(BENCH_ARGS)
	$(XVFB) $(RELEASE_DIR)/bin/kinemo_gl_bench $(BENCH_ARGS)
	$(XVFB) $(RELEASE_DIR)/bin/kinemo_ui_bench $(BENCH_ARGS)
	$(RELEASE_DIR)/bin/kinemo --batch bench/scene_file_bench.lua
	$(RELEASE_DIR)/bin/kinemo --batch bench/scene_file_bench.lua 1000000 64 BM_SceneFile1M

# Each fuzz target starts from its checked-in corpus; what it adds stays in
# build/fuzz/corpus, and a crashing input lands in build/fuzz/findings (copy
# it into tests/fuzz/corpus/<target>/ with the fix so `make test` keeps it).
FUZZ_DIR     := build/fuzz
FUZZ_TARGETS := scene_file image_decoder image_stream rigmend_xml obj gltf model_stream
FUZZ_SECONDS ?= 60

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DKINEMO_FUZZ=ON -DKINEMO_BUILD_TESTS=OFF -DKINEMO_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@mkdir -p $(FUZZ_DIR)/findings
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p $(FUZZ_DIR)/corpus/$$t; \
	    echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
	    ASAN_OPTIONS=detect_leaks=0 $(FUZZ_DIR)/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) \
	        -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
	        -artifact_prefix=$(CURDIR)/$(FUZZ_DIR)/findings/$$t- \
	        $(FUZZ_DIR)/corpus/$$t tests/fuzz/corpus/$$t || exit 1; \
	done

# The program, its data and the desktop entry for ".rig"/".kmo" into a prefix.
PREFIX ?= $(HOME)/.local
install: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DKINEMO_BUILD_TESTS=OFF -DKINEMO_BUILD_BENCH=ON -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(RELEASE_DIR)
	cmake --install $(RELEASE_DIR)

# Every build makes the manual's pictures when the program changed; this
# makes them again regardless.
doc: build-release
	@rm -f $(RELEASE_DIR)/bin/doc/images/made
	@cmake --build $(RELEASE_DIR) --target kinemo_doc
	@echo "The manual: $(RELEASE_DIR)/bin/doc/index.html"

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
