# Everything starts here: each target installs what is missing, configures and builds.

BUILD_DIR ?= build
RUN_DIR   := Quillbox
JOBS      ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_ARGS) > $(BUILD_DIR).configure.log 2>&1 \
		|| { cat $(BUILD_DIR).configure.log; exit 1; }

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The program runs from a folder of its own, which no build or clean step touches:
# the messages are stored next to the program.
run: build
	@mkdir -p $(RUN_DIR)
	@cp $(BUILD_DIR)/src/quillbox $(RUN_DIR)/quillbox
	@echo "Running $(RUN_DIR)/quillbox (messages are stored in $(RUN_DIR)/)"
	@cd $(RUN_DIR) && ./quillbox

test: build
	@QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

clean:
	@rm -rf $(BUILD_DIR) $(BUILD_DIR).configure.log
