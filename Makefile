# The two commands of the README, plus the extras. Each target installs what it needs first
# (Debian's packages through scripts/install-deps.sh); on a machine that is not Debian, or
# that has them already, SKIP_DEPS=1 skips that step.
#   make PRESET=clang test    builds and tests with another preset, in that preset's directory
PRESET ?= default
# The build directory of each preset, as CMakePresets.json names it.
BUILD_DIR := $(if $(filter default,$(PRESET)),build,build-$(PRESET))
SKIP_DEPS ?=
DEPS := $(if $(SKIP_DEPS),@true,@scripts/install-deps.sh)

.PHONY: all deps configure build run test asan-test fuzz screenshots clean

all: build

deps:
	$(DEPS)

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# The main job on the demo suite: the desktop program on a display, else the list printed.
# Both find the demo install directory through its settings file, as on a real machine.
run: build
	@if { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; } && [ -x $(BUILD_DIR)/bin/pelkor ]; then \
	    WINDIR=$(CURDIR)/$(BUILD_DIR)/demo/windir $(BUILD_DIR)/bin/pelkor; \
	else \
	    WINDIR=$(CURDIR)/$(BUILD_DIR)/demo/windir $(BUILD_DIR)/bin/pelkor-list --print; \
	fi

test: build
	@ctest --preset $(PRESET)

# Benchmarks, never part of test: the scanner and the definition reader (pelkor_bench), then
# whole runs over generated suites against what and strings | grep (docs/performance.md).
.PHONY: bench
bench: build
	$(DEPS) --bench
	@$(BUILD_DIR)/bin/pelkor_bench
	@scripts/bench-suite.sh $(BUILD_DIR)

# The whole test suite under AddressSanitizer and UBSan, in build-asan.
asan-test: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

# Each libFuzzer target for FUZZ_SECONDS from its seeds, in build-fuzz; fails on any finding.
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@fuzz/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)

# Offscreen renderings of the main dialog, the About box, the picker and the viewer on the demo
# suite, shown in the README.
screenshots: build
	@WINDIR=$(CURDIR)/$(BUILD_DIR)/demo/windir QT_QPA_PLATFORM=offscreen \
	    $(BUILD_DIR)/bin/pelkor-screenshots docs/images

# The Windows build: mingw-w64 cross compile into build-windows (GoogleTest for Windows built
# there first), then every test under Wine. The build runs its generators under Wine too; each
# step has its own Wine session, ended even when the step fails. The Linux pelkor-list and demo
# generator are built first: a Windows test compares the lists the two programs write; so is the
# icon renderer, which draws pelkor.exe's icon from the same SVG as the Linux program's.
WINDOWS_DIR := build-windows

.PHONY: windows windows-test windows-package windows-screenshots
windows:
	$(DEPS) --windows
	@cmake --preset default >/dev/null
	@cmake --build --preset default --target pelkor-list make_demo_suite pelkor_icon_render
	@scripts/windows-gtest.sh $(WINDOWS_DIR)
	@cmake --preset windows -DPELKOR_HOST_LIST=$(CURDIR)/build/bin/pelkor-list \
	    -DPELKOR_HOST_DEMO_GENERATOR=$(CURDIR)/build/demo/make_demo_suite \
	    -DPELKOR_HOST_ICON_RENDER=$(CURDIR)/build/tools/pelkor_icon_render >/dev/null
	@scripts/wine-session.sh run $(WINDOWS_DIR) cmake --build --preset windows

# The desktop program's tests open windows: the session has a virtual display of its own (Xvfb
# with openbox, started and stopped with it).
windows-test: windows
	@PELKOR_WINE_DISPLAY=virtual scripts/wine-session.sh run $(WINDOWS_DIR) ctest --preset windows

# What a Windows user downloads, built on Linux by CPack: the installer (NSIS) and the zip, in
# build-windows/ (pelkor-<version>-win64.exe and .zip).
windows-package: windows
	@cd $(WINDOWS_DIR) && cpack --config CPackConfig.cmake

# The four dialogs as Windows draws them, captured under Wine on a virtual display in Japanese,
# on the demo suite installed as C:\KOMA-R in the prefix; shown in the README.
windows-screenshots: windows
	@PELKOR_WINE_DISPLAY=virtual scripts/wine-session.sh run $(WINDOWS_DIR) bash -c '\
	    set -e; \
	    scripts/wine-session.sh japanese $(WINDOWS_DIR); \
	    scripts/wine-session.sh exec $(WINDOWS_DIR) $(WINDOWS_DIR)/demo/make_demo_suite.exe \
	        "C:\KOMA-R" "C:\KOMA-R-windir" </dev/null; \
	    PELKOR_WINE_JAPANESE=1 scripts/wine-session.sh exec $(WINDOWS_DIR) \
	        $(WINDOWS_DIR)/bin/pelkor-screenshots.exe docs/images/windows "C:\KOMA-R" </dev/null'

clean:
	@if [ -d $(WINDOWS_DIR)/wine ]; then scripts/wine-session.sh stop $(WINDOWS_DIR); fi
	rm -rf build build-clang build-asan build-fuzz $(WINDOWS_DIR)
