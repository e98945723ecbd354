# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run    installs what is missing, builds into build/ and starts Tarvelo
#   make test   the same, then runs the whole test suite with CTest
BUILD_DIR ?= build
JOBS      ?= $(shell nproc)
CMAKE_FLAGS ?=

# Debian packages the build, the tests and the screenshots need.
PACKAGES = cmake g++ make pkg-config \
           qt6-base-dev qt6-webengine-dev libgl-dev libqt6sql6-sqlite \
           fonts-dejavu-core fonts-dejavu-extra fonts-comic-neue \
           xvfb xauth x11-utils xdotool \
           libbenchmark-dev clang-14 libclang-rt-14-dev clang-format-14 desktop-file-utils appstream

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
WERROR := $(if $(CI),ON,OFF)

.PHONY: deps configure build run test sanitize fuzz clean format

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELO_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/tarvelo

# make test runs three stages, each one also a target of its own:
#   the whole suite on the normal build, then
#   make sanitize   the unit and gui tests on an AddressSanitizer and
#                   UndefinedBehaviorSanitizer build in $(ASAN_DIR), then
#   make fuzz       the PAD text fuzzer for $(FUZZ_SECONDS) s (fuzz/run.sh).
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 300
	@$(MAKE) --no-print-directory sanitize
	@$(MAKE) --no-print-directory fuzz

ASAN_DIR     ?= build-asan
FUZZ_SECONDS ?= 60
# Leaks count, except the ones Qt's browser engine and a few system libraries
# keep on purpose (tests/lsan.supp); any undefined behaviour stops the test.
# No session bus: without one, D-Bus forks a helper from the threaded program,
# and that child can hang forever on a lock the sanitizer's allocator held.
SANITIZER_ENV = \
  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  DBUS_SESSION_BUS_ADDRESS=disabled:

sanitize: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELO_WERROR=$(WERROR) \
	  -DTARVELO_SANITIZE=ON -DTARVELO_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && $(SANITIZER_ENV) ctest -L "unit|gui" -LE smoke --output-on-failure --timeout 600

fuzz: deps
	fuzz/run.sh $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR)

# Rewrites every C++ source that drifts from .clang-format; make test fails
# on such a file (CTest unit_format).
format: deps
	tools/check-format.sh --fix

# --- Debian package -------------------------------------------------------------
# make package   builds $(BUILD_DIR)/tarvelo_VERSION-1_ARCH.deb with CPack; its
#                dependencies come from dpkg-shlibdeps (Debian: dpkg-dev).
# packaging/check-deb.sh [--fresh-root] checks and starts what it installs.
.PHONY: package
package: PACKAGES += dpkg-dev
package: build
	cmake --build $(BUILD_DIR) --target package
