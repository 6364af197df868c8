#include "startup/FirstPaintWatcher.h"

#include <poll.h>
#include <sys/wait.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// Reaps the process when it has ended.
bool ProcessEnded(pid_t process) {
    int status = 0;
    return ::waitpid(process, &status, WNOHANG) == process;
}

}  // namespace

long ResidentKilobytes(pid_t process) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

FirstPaintWatcher::FirstPaintWatcher(const std::string& display) {
    usable_ = Connect(display);
}

FirstPaintWatcher::~FirstPaintWatcher() {
    if (connection_ != nullptr)
        xcb_disconnect(connection_);
}

bool FirstPaintWatcher::Connect(const std::string& display) {
    connection_ = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection_) != 0)
        return false;
    rootWindow_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0)
        return false;
    damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
    // The extension refuses every other request until the client said which version it speaks.
    Reply<xcb_damage_query_version_reply_t> version(xcb_damage_query_version_reply(
        connection_,
        xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));
    if (!version)
        return false;
    // New top-level windows are children of the root: their creation and mapping reach us from it.
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, rootWindow_, XCB_CW_EVENT_MASK, &events);
    xcb_flush(connection_);
    return true;
}

// The window's name as the window manager would show it (Qt sets _NET_WM_NAME in UTF-8).
std::string FirstPaintWatcher::Title(unsigned window) {
    static constexpr char kName[] = "_NET_WM_NAME";
    Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 1, sizeof kName - 1, kName), nullptr));
    if (!atom)
        return {};
    Reply<xcb_get_property_reply_t> name(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
        nullptr));
    if (!name)
        return {};
    return {static_cast<const char*>(xcb_get_property_value(name.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(name.get()))};
}

void FirstPaintWatcher::DropPendingEvents() {
    while (std::unique_ptr<xcb_generic_event_t, FreeReply> event{xcb_poll_for_event(connection_)}) {
    }
}

std::optional<FirstPaint> FirstPaintWatcher::TimeFirstPaint(const std::function<pid_t()>& start,
                                                            pid_t& started,
                                                            std::chrono::milliseconds patience) {
    // What the last process's windows reported on their way out belongs to no one now.
    Reply<xcb_get_input_focus_reply_t> roundTrip(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    DropPendingEvents();
    const auto startedAt = Clock::now();
    started = start();
    if (started <= 0)
        return std::nullopt;
    return WaitForPaint(started, startedAt, patience);
}

// Damage is asked for as soon as a top-level window exists, before it can be mapped and drawn into. The
// server paints no background for these windows (Qt gives them none), so the first report after the
// map is the program's own first frame reaching the screen.
std::optional<FirstPaint> FirstPaintWatcher::WaitForPaint(pid_t process, Clock::time_point startedAt,
                                                          std::chrono::milliseconds patience) {
    const auto deadline = startedAt + patience;
    std::vector<uint32_t> mapped;
    pollfd connection{xcb_get_file_descriptor(connection_), POLLIN, 0};
    while (Clock::now() < deadline) {
        ::poll(&connection, 1, 5);
        while (std::unique_ptr<xcb_generic_event_t, FreeReply> event{xcb_poll_for_event(connection_)}) {
            const int type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
                xcb_damage_create(connection_, xcb_generate_id(connection_), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(connection_);
            } else if (type == XCB_MAP_NOTIFY) {
                mapped.push_back(reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window);
            } else if (type == damageEvent_) {
                const auto* damaged = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
                if (std::find(mapped.begin(), mapped.end(), damaged->drawable) == mapped.end())
                    continue;
                const double milliseconds =
                    std::chrono::duration<double, std::milli>(Clock::now() - startedAt).count();
                return FirstPaint{milliseconds, ResidentKilobytes(process), Title(damaged->drawable)};
            }
        }
        if (ProcessEnded(process))
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace bench
