#include "startup/XvfbDisplay.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <vector>

namespace bench {

namespace {

std::string FreeDisplay() {
    for (int number = 140; number < 200; ++number) {
        const std::string suffix = std::to_string(number);
        if (!std::filesystem::exists("/tmp/.X11-unix/X" + suffix) &&
            !std::filesystem::exists("/tmp/.X" + suffix + "-lock"))
            return ":" + suffix;
    }
    return {};
}

bool Answers(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

pid_t StartServer(const std::string& display) {
    std::vector<std::string> arguments{"Xvfb",         display,     "-screen", "0",
                                       "1280x1024x24", "-nolisten", "tcp",     "-noreset"};
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t server = -1;
    if (::posix_spawnp(&server, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        server = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    return server;
}

}  // namespace

XvfbDisplay::XvfbDisplay() {
    const std::string display = FreeDisplay();
    if (display.empty() || (server_ = StartServer(display)) <= 0)
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (Answers(display)) {
            name_ = display;
            return;
        }
        int status = 0;
        if (::waitpid(server_, &status, WNOHANG) == server_) {
            server_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

XvfbDisplay::~XvfbDisplay() {
    if (server_ <= 0)
        return;
    ::kill(server_, SIGTERM);
    int status = 0;
    ::waitpid(server_, &status, 0);
}

}  // namespace bench
