# Morventa8: make run | make test | make bench | make tools | make install [PREFIX=DIR]
PACKAGES := cmake ninja-build g++ clang qt6-base-dev qt6-multimedia-dev libgtest-dev libicu-dev libuchardet-dev pkg-config xvfb x11-utils
JOBS ?= $(shell nproc)
BUILD := build
RUN_BUILD := build-run
CLANG_BUILD := build-clang
BENCH_BUILD := build-release

.PHONY: run test bench tools install install-tree build run-build clang-check deps clean

deps:
	@missing=""; for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages. Run: sudo apt-get install -y$$missing"; exit 1; \
	  fi; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1 -g" -DM8_SANITIZE=ON -DM8_WERROR=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The program itself runs from an optimised build without sanitizers and
# without the tests.
$(RUN_BUILD)/build.ninja: | deps
	cmake -S . -B $(RUN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DM8_BUILD_TESTS=OFF

run-build: deps $(RUN_BUILD)/build.ninja
	cmake --build $(RUN_BUILD) -j $(JOBS) --target morventa8

run: run-build
	./$(RUN_BUILD)/bin/morventa8

# The command-line tools, optimised, beside the program in the run tree.
TOOLS := morventa8-perft morventa8-analyse morventa8-pdn
tools: deps $(RUN_BUILD)/build.ninja
	cmake --build $(RUN_BUILD) -j $(JOBS) --target $(TOOLS) m8data

# The optimised program, its tools and its data installed under PREFIX (bin/,
# lib/morventa8/, share/morventa8/, a desktop entry and an icon); DESTDIR
# stages the install elsewhere.
#
# Root installing from a checkout that a user owns (`sudo make install` after
# that user's build) builds as the owner of the tree: the build trees keep no
# file of root's, and the user's `make clean` works after. Only the install
# itself runs as root.
PREFIX ?= /usr/local
TREE_UID := $(shell stat -c %u $(RUN_BUILD) 2>/dev/null || stat -c %u .)
TREE_GID := $(shell stat -c %g $(RUN_BUILD) 2>/dev/null || stat -c %g .)
ifeq ($(shell id -u),0)
ifneq ($(TREE_UID),0)
TREE_HOME := $(shell getent passwd $(TREE_UID) | cut -d: -f6)
AS_TREE_OWNER := setpriv --reuid=$(TREE_UID) --regid=$(TREE_GID) \
  $(if $(TREE_HOME),--init-groups -- env HOME="$(TREE_HOME)",--clear-groups --)
endif
endif

install: deps
	$(AS_TREE_OWNER) $(MAKE) --no-print-directory install-tree
	cmake --install $(RUN_BUILD) --prefix "$(PREFIX)"

install-tree: $(RUN_BUILD)/build.ninja
	cmake --build $(RUN_BUILD) -j $(JOBS)

# Every target also builds warning-free under Clang (no sanitizers, tests
# and benchmarks built but not run there).
$(CLANG_BUILD)/build.ninja: | deps
	cmake -S . -B $(CLANG_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DM8_WERROR=ON -DM8_BUILD_BENCH=ON

clang-check: deps $(CLANG_BUILD)/build.ninja
	cmake --build $(CLANG_BUILD) -j $(JOBS)

test: build clang-check
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DM8_BUILD_BENCH=ON -DM8_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

clean:
	rm -rf $(BUILD) $(RUN_BUILD) $(BENCH_BUILD) $(CLANG_BUILD)
