// The udev rule, run against the keyboard's device nodes by a small evaluator of the rule
// language it uses: only the hidraw nodes the program (and the updater) open reach the user.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One node of a USB device as udev sees it.
struct Node {
    std::string action = "add";
    std::string subsystem; // "hidraw" or "usb" (the device itself)
    std::string vendor;
    std::string product;
    std::optional<int> interface; // the USB interface a hidraw node belongs to
};

struct Key {
    std::string name; // "SUBSYSTEM", "ATTRS{idVendor}", "ENV{ID_MODEL_ID}", "TAG", ...
    std::string op;   // "==", "!=", "=", "+="
    std::string value;
};

std::vector<Key> ParseRule(const std::string& line) {
    std::vector<Key> keys;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t quote = line.find('"', at);
        const std::size_t end = line.find('"', quote + 1);
        if (quote == std::string::npos || end == std::string::npos)
            break;
        std::string head = line.substr(at, quote - at);
        head.erase(0, head.find_first_not_of(", "));
        const std::size_t op = head.find_first_of("=!+");
        keys.push_back(
            {head.substr(0, op), head.substr(op), line.substr(quote + 1, end - quote - 1)});
        at = end + 1;
    }
    return keys;
}

bool MatchesAny(const std::string& value, const std::string& alternatives) {
    std::stringstream in(alternatives);
    for (std::string one; std::getline(in, one, '|');)
        if (one == value)
            return true;
    return false;
}

// Runs the rules for one node; true when the node is tagged "uaccess". Any key the evaluator
// does not know (MODE, GROUP, OWNER, RUN, ...) fails the test.
bool GetsUserAccess(const std::vector<std::string>& lines, const Node& node) {
    std::map<std::string, std::string> env;
    bool tagged = false;
    std::string skipTo;
    for (const std::string& line : lines) {
        const std::vector<Key> keys = ParseRule(line);
        if (!skipTo.empty()) {
            if (keys.size() == 1 && keys[0].name == "LABEL" && keys[0].value == skipTo)
                skipTo.clear();
            continue;
        }
        bool matches = true;
        for (const Key& k : keys) {
            std::optional<std::string> actual;
            if (k.name == "ACTION")
                actual = node.action;
            else if (k.name == "SUBSYSTEM")
                actual = node.subsystem;
            else if (k.name == "ATTRS{idVendor}")
                actual = node.vendor;
            else if (k.name == "ATTRS{idProduct}")
                actual = node.product;
            else if (k.name.starts_with("ENV{"))
                actual = env[k.name.substr(4, k.name.size() - 5)];
            if (k.op == "==" || k.op == "!=") {
                EXPECT_TRUE(actual.has_value()) << "unknown match key " << k.name;
                matches = matches && MatchesAny(actual.value_or(""), k.value) == (k.op == "==");
            }
        }
        if (!matches)
            continue;
        for (const Key& k : keys) {
            if (k.op == "==" || k.op == "!=")
                continue;
            if (k.name == "IMPORT{builtin}" && k.value == "usb_id") {
                char number[8];
                std::snprintf(number, sizeof number, "%02x", node.interface.value_or(0));
                env["ID_VENDOR_ID"] = node.vendor;
                env["ID_MODEL_ID"] = node.product;
                if (node.interface)
                    env["ID_USB_INTERFACE_NUM"] = number;
            } else if (k.name == "TAG" && k.op == "+=" && k.value == "uaccess") {
                tagged = true;
            } else if (k.name == "GOTO") {
                skipTo = k.value;
            } else if (k.name != "LABEL") {
                ADD_FAILURE() << "the rule assigns " << k.name << k.op << k.value;
            }
        }
    }
    return tagged;
}

TEST(UdevRule, GrantsOnlyTheInterfacesTheProgramAndTheUpdaterOpen) {
    std::ifstream in(ORVO_UDEV_RULE);
    ASSERT_TRUE(in) << ORVO_UDEV_RULE;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);

    struct Row {
        const char* what;
        Node node;
        bool access;
    };
    const Row rows[] = {
        {"typed keys", {"add", "hidraw", "04d9", "a12e", 0}, false},
        {"interface 1", {"add", "hidraw", "04d9", "a12e", 1}, false},
        {"host keys", {"add", "hidraw", "04d9", "a12e", 2}, true},
        {"commands", {"add", "hidraw", "04d9", "a12e", 3}, true},
        {"commands, on change", {"change", "hidraw", "04d9", "a12e", 3}, true},
        {"the USB device", {"add", "usb", "04d9", "a12e", std::nullopt}, false},
        {"loader", {"add", "hidraw", "04d9", "a126", 0}, true},
        {"loader interface 2", {"add", "hidraw", "04d9", "a126", 2}, true},
        {"the loader's USB device", {"add", "usb", "04d9", "a126", std::nullopt}, false},
        {"another product", {"add", "hidraw", "04d9", "a12f", 3}, false},
        {"another vendor", {"add", "hidraw", "046d", "a12e", 3}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(GetsUserAccess(lines, row.node), row.access) << row.what;
}

} // namespace
