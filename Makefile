# Front door: every target installs missing system packages, configures and
# builds before it does its job.
#   make run    build and start the editor
#   make test   build with AddressSanitizer + UBSan and run the whole suite
#   make bench  optimised build, then the benchmarks
#   make install PREFIX=...  install the program (default ~/.local)
#   make doc    photograph the editor again for the manual (doc/index.html)

TEST_DIR    := build/test
RELEASE_DIR := build/release
XVFB        := xvfb-run -a -s "-screen 0 1600x1200x24"
CTEST_ARGS  ?=

.PHONY: all deps run test bench build-release build-test install clean format doc

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
	$(RELEASE_DIR)/bin/kinemo --batch bench/scene_file_bench.lua

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
