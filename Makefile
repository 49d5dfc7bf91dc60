# Everything starts here: each target installs the Debian packages it needs that are
# missing (scripts/install-deps), configures and builds. Nothing else changes outside
# the checkout but for install, uninstall and check-package.

BUILD_DIR ?= build
RUN_DIR   := Quillbox
JOBS      ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
FUZZ_SECONDS ?= 60
# bench/run's build, the only one with the benchmarks.
BENCH_DIR := build-bench
WINDOWS_DIR ?= build-windows
# Qt for Windows, built once from Debian's source by scripts/build-qt-windows.
QT_WINDOWS ?= $(or $(QUILLBOX_QT_WINDOWS),$(HOME)/.cache/quillbox/qt-6.4.2-mingw64)
VERSION    = $(shell sed -n 's/^project.Quillbox VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

INSTALLED_DIR ?= build/installed
PREFIX    ?= /usr
DEB_ARCH   = $(shell dpkg --print-architecture)

.PHONY: all deps configure build run test test-asan fuzz bench clean installed install uninstall \
	package check-package check-windows windows test-windows

all: build

# The package sets a target needs: build (building and running), test, package, windows.
DEPS ?= build

deps:
	@scripts/install-deps $(DEPS)

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_ARGS) > $(BUILD_DIR).configure.log 2>&1 \
		|| { cat $(BUILD_DIR).configure.log; exit 1; }

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The program runs from a folder of its own, which no build or clean step touches:
# the messages are stored next to the program.
run: build
	@mkdir -p $(RUN_DIR)
	@# Replaced, not overwritten: a copy may be running from there.
	@cp $(BUILD_DIR)/src/quillbox $(RUN_DIR)/quillbox.new && mv -f $(RUN_DIR)/quillbox.new $(RUN_DIR)/quillbox
	@echo "Running $(RUN_DIR)/quillbox (messages are stored in $(RUN_DIR)/)"
	@cd $(RUN_DIR) && ./quillbox

# One tree, built and tested; nothing is installed but missing Debian packages.
test: DEPS += test
test: build
	@QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The copy that is installed: it keeps the messages in each user's data folder.
installed: DEPS += package
installed: deps
	@mkdir -p $(dir $(INSTALLED_DIR))
	@# Debian's hardening flags, as its own packages are built with.
	@CXXFLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) \
		$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)" \
		LDFLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)" \
		cmake -S . -B $(INSTALLED_DIR) -DCMAKE_BUILD_TYPE=Release -DQUILLBOX_INSTALLED=ON \
		-DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX) \
		> $(INSTALLED_DIR).configure.log 2>&1 || { cat $(INSTALLED_DIR).configure.log; exit 1; }
	@cmake --build $(INSTALLED_DIR) -j $(JOBS) --target quillbox quillbox_packaging

# cmake --install keeps no list of what it put in place: install_manifest.txt is made
# from what it says it installed, for uninstall.
install: installed
	@cmake --install $(INSTALLED_DIR) --strip > $(INSTALLED_DIR)/install.log \
		|| { cat $(INSTALLED_DIR)/install.log; exit 1; }
	@cat $(INSTALLED_DIR)/install.log
	@sed -n 's/^-- \(Installing\|Up-to-date\): //p' $(INSTALLED_DIR)/install.log > $(INSTALLED_DIR)/install_manifest.txt

# Removes what install put in place, and nothing else.
uninstall:
	@test -f $(INSTALLED_DIR)/install_manifest.txt || { echo "uninstall: nothing was installed from this checkout"; exit 1; }
	@xargs -rd '\n' rm -fv < $(INSTALLED_DIR)/install_manifest.txt
	@rm -f $(INSTALLED_DIR)/install_manifest.txt

# The Debian package, as build/quillbox_VERSION_ARCH.deb (dpkg's architecture).
package: installed
	@rm -f $(INSTALLED_DIR)/quillbox_*.deb
	@cd $(INSTALLED_DIR) && cpack -G DEB > cpack.log 2>&1 || { cat cpack.log; exit 1; }
	@mkdir -p build && cp $(INSTALLED_DIR)/quillbox_*_$(DEB_ARCH).deb build/
	@# Debian's own checks: an error fails the package.
	@lintian --fail-on error build/quillbox_*_$(DEB_ARCH).deb
	@ls build/quillbox_*_$(DEB_ARCH).deb

# The package installed on this machine and run by root and by a user added for the
# purpose, then removed with the user: it needs root, and skips where Quillbox is
# installed already rather than replace it.
check-package: DEPS += test package
check-package: package
	@tests/e2e/e2e.py package $(INSTALLED_DIR)/quillbox_*_$(DEB_ARCH).deb; status=$$?; \
		if [ $$status -eq 77 ]; then echo "check-package: skipped"; elif [ $$status -eq 0 ]; then \
		echo "check-package: installed, run by root and by a user, removed"; else exit $$status; fi

# The Windows code compiled with mingw-w64, against this system's Qt headers.
check-windows: DEPS += windows
check-windows: configure
	@cmake --build $(BUILD_DIR) --target quillbox_packaging
	@scripts/check-windows $(BUILD_DIR)

# quillbox.exe cross-built with mingw-w64 against Qt for Windows, laid out with what it loads
# in a portable folder and zipped: build-windows/quillbox-VERSION-win64.zip. A second build,
# of the program alone, is the installed copy (messages in %APPDATA%\Quillbox), which the
# per-user installer build-windows/quillbox-VERSION-setup.exe carries. The icons are drawn by
# the Linux build's own tool.
WINDOWS_CMAKE_ARGS = -G Ninja -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	-DCMAKE_PREFIX_PATH=$(QT_WINDOWS) -DQT_HOST_PATH=/usr \
	-DQUILLBOX_HOST_WRITEICONS=$(CURDIR)/$(BUILD_DIR)/packaging/quillbox_writeicons \
	-DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/scripts/wine-run
windows: DEPS += windows
windows: configure
	@QUILLBOX_QT_WINDOWS=$(QT_WINDOWS) scripts/build-qt-windows
	@cmake --build $(BUILD_DIR) --target quillbox_writeicons
	@cmake -S . -B $(WINDOWS_DIR) $(WINDOWS_CMAKE_ARGS) \
		> $(WINDOWS_DIR).configure.log 2>&1 || { cat $(WINDOWS_DIR).configure.log; exit 1; }
	@cmake --build $(WINDOWS_DIR) -j $(JOBS)
	@scripts/windows-zip $(WINDOWS_DIR) $(QT_WINDOWS) $(VERSION)
	@cmake -S . -B $(WINDOWS_DIR)/installed $(WINDOWS_CMAKE_ARGS) -DQUILLBOX_INSTALLED=ON -DBUILD_TESTING=OFF \
		> $(WINDOWS_DIR)/installed.configure.log 2>&1 || { cat $(WINDOWS_DIR)/installed.configure.log; exit 1; }
	@cmake --build $(WINDOWS_DIR)/installed -j $(JOBS) --target quillbox
	@scripts/windows-installer $(WINDOWS_DIR) $(QT_WINDOWS) $(VERSION)

# The test programs under Wine on Qt's offscreen platform, the zip's program on an X server
# with an XEmbed tray, and the installer run, its program used, then uninstalled.
test-windows: DEPS += test
test-windows: windows
	@QUILLBOX_QT_WINDOWS=$(QT_WINDOWS) scripts/wine-run wineboot --init > /dev/null 2>&1
	@QUILLBOX_QT_WINDOWS=$(QT_WINDOWS) ctest --test-dir $(WINDOWS_DIR) --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, the
# end-to-end kinds included; any report fails its test.
test-asan: DEPS += test
test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLBOX_SANITIZE=ON \
		> $(ASAN_DIR).configure.log 2>&1 || { cat $(ASAN_DIR).configure.log; exit 1; }
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

# The slot-file reader on arbitrary bytes for FUZZ_SECONDS, from a copy of the seed corpus
# so that the committed one does not grow. A crash, a hang or a sanitizer report fails.
fuzz: DEPS += test
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DQUILLBOX_FUZZ=ON -DBUILD_TESTING=OFF \
		> $(FUZZ_DIR).configure.log 2>&1 || { cat $(FUZZ_DIR).configure.log; exit 1; }
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_slotparser
	@rm -rf $(FUZZ_DIR)/corpus $(FUZZ_DIR)/artifacts
	@mkdir -p $(FUZZ_DIR)/artifacts
	@cp -r fuzz/corpus $(FUZZ_DIR)/corpus
	@$(FUZZ_DIR)/fuzz/fuzz_slotparser -max_total_time=$(FUZZ_SECONDS) -timeout=1 \
		-rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/artifacts/ \
		$(FUZZ_DIR)/corpus > $(FUZZ_DIR)/fuzz.log 2>&1 \
		|| { tail -n 80 $(FUZZ_DIR)/fuzz.log; echo "fuzz: failed, see $(FUZZ_DIR)/artifacts/"; exit 1; }
	@grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' \
		$(FUZZ_DIR)/fuzz.log

# Start-up, memory and large-message figures in a Release build; writes bench/results.md.
bench: DEPS += test
bench: deps
	@bench/run

# Every build folder the targets above make, and nothing else: never $(RUN_DIR)/ with its
# messages, nor Qt for Windows in ~/.cache.
clean:
	@rm -rf $(BUILD_DIR) $(BUILD_DIR).configure.log $(INSTALLED_DIR).configure.log \
		$(WINDOWS_DIR) $(WINDOWS_DIR).configure.log $(ASAN_DIR) $(ASAN_DIR).configure.log \
		$(FUZZ_DIR) $(FUZZ_DIR).configure.log $(BENCH_DIR)
