# Front door: every target installs missing system packages, configures and
# builds before it does its job.
#   make run    build and start the editor
#   make test   build with AddressSanitizer + UBSan and run the whole suite
#   make bench  optimised build, then the benchmarks

TEST_DIR    := build/test
RELEASE_DIR := build/release
XVFB        := xvfb-run -a -s "-screen 0 1600x1200x24"
CTEST_ARGS  ?=

.PHONY: all deps run test bench build-release build-test clean format

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

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
