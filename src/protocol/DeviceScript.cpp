#include "DeviceScript.h"

#include "IPAddrUtils.h"
#include "MacAddress.h"

#include <algorithm>
#include <charconv>

namespace olg {

namespace {

constexpr std::string_view Blanks = " \t\r";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

// The next blank-separated word of text, which then holds what follows it.
std::string_view NextWord(std::string_view& text) {
    text = Trim(text);
    const std::size_t end = std::min(text.find_first_of(Blanks), text.size());
    const std::string_view word = text.substr(0, end);
    text = Trim(text.substr(end));
    return word;
}

// Seconds with up to three decimals, as milliseconds.
std::optional<std::int64_t> ParseSeconds(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    constexpr std::string_view Digits = "0123456789";
    // Digits only: no sign, no blanks, which from_chars would take or stop at.
    if (whole.empty() || whole.size() > 7 || fraction.size() > 3 ||
        (point != std::string_view::npos && fraction.empty()) ||
        whole.find_first_not_of(Digits) != std::string_view::npos ||
        fraction.find_first_not_of(Digits) != std::string_view::npos)
        return std::nullopt;
    std::int64_t seconds = 0;
    std::int64_t thousandths = 0;
    auto [end, status] = std::from_chars(whole.data(), whole.data() + whole.size(), seconds);
    if (status != std::errc() || end != whole.data() + whole.size())
        return std::nullopt;
    if (!fraction.empty()) {
        const std::string padded = std::string(fraction) + std::string(3 - fraction.size(), '0');
        auto [fractionEnd, fractionStatus] = std::from_chars(padded.data(), padded.data() + 3, thousandths);
        if (fractionStatus != std::errc() || fractionEnd != padded.data() + 3)
            return std::nullopt;
    }
    const std::int64_t ms = seconds * 1000 + thousandths;
    if (ms > DeviceScript::MaxMs)
        return std::nullopt;
    return ms;
}

bool IsValidAddress(std::string_view text) {
    try {
        ValidateIPString(text);
    } catch (const IPStringError&) {
        return false;
    }
    return true;
}

// "name=Rack B,fw=1.5.0.0,ip=10.0.0.2,param56=Lamp": the keys a device's settings may be changed by.
bool ParseSettings(std::string_view text, DeviceAction& action, std::string& error) {
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view pair = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) {
            error = "expected KEY=VALUE, not \"" + std::string(pair) + "\"";
            return false;
        }
        const std::string_view key = Trim(pair.substr(0, equals));
        const std::string_view value = pair.substr(equals + 1);
        bool known = key == "name" || key == "fw" || key == "ip";
        if (key.starts_with("param")) {
            int id = 0;
            const std::string_view digits = key.substr(5);
            auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
            known = !digits.empty() && status == std::errc() && end == digits.data() + digits.size() &&
                    id >= 1 && id <= 999;
        }
        if (!known) {
            error = "unknown setting \"" + std::string(key) + "\" (name, ip, fw or paramID)";
            return false;
        }
        if (key == "ip" && !IsValidAddress(value)) {
            error = "bad address \"" + std::string(value) + "\"";
            return false;
        }
        action.Settings.emplace_back(std::string(key), std::string(value));
    }
    if (action.Settings.empty()) {
        error = "set needs KEY=VALUE";
        return false;
    }
    return true;
}

} // namespace

std::optional<DeviceAction> DeviceScript::ParseCommand(std::string_view line, std::string& error) {
    DeviceAction action;
    const std::string_view verb = NextWord(line);
    const std::string_view mac = NextWord(line);
    if (verb == "silent")
        action.What = DeviceAction::Kind::Silent;
    else if (verb == "answer")
        action.What = DeviceAction::Kind::Answer;
    else if (verb == "set")
        action.What = DeviceAction::Kind::Set;
    else {
        error = "unknown action \"" + std::string(verb) + "\" (silent, answer or set)";
        return std::nullopt;
    }
    const std::optional<std::uint64_t> parsed = ParseMac(mac);
    if (!parsed) {
        error = "bad MAC address \"" + std::string(mac) + "\"";
        return std::nullopt;
    }
    action.Mac = *parsed;
    if (action.What == DeviceAction::Kind::Set) {
        if (!ParseSettings(line, action, error))
            return std::nullopt;
    } else if (!line.empty()) {
        error = "unexpected \"" + std::string(line) + "\"";
        return std::nullopt;
    }
    return action;
}

std::optional<DeviceScript> DeviceScript::Parse(std::string_view text, std::string& error) {
    DeviceScript script;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const auto fail = [&](const std::string& reason) {
            error = "line " + std::to_string(number) + ": " + reason;
            return std::nullopt;
        };
        const std::string_view first = NextWord(line);
        if (first == "repeat") {
            const std::optional<std::int64_t> period = ParseSeconds(line);
            if (!period || *period == 0)
                return fail("repeat takes a period in seconds");
            script.RepeatMs = *period;
            continue;
        }
        const std::optional<std::int64_t> at = ParseSeconds(first);
        if (!at)
            return fail("expected a time in seconds, not \"" + std::string(first) + "\"");
        std::optional<DeviceAction> action = ParseCommand(line, error);
        if (!action)
            return fail(error);
        if (script.Actions.size() >= MaxActions)
            return fail("more than " + std::to_string(MaxActions) + " actions");
        action->AtMs = *at;
        action->Line = number;
        script.Actions.push_back(std::move(*action));
    }
    std::stable_sort(script.Actions.begin(), script.Actions.end(),
                     [](const DeviceAction& a, const DeviceAction& b) { return a.AtMs < b.AtMs; });
    if (script.RepeatMs > 0 && !script.Actions.empty() && script.Actions.back().AtMs >= script.RepeatMs) {
        error = "the repeat period must be longer than the last action's time";
        return std::nullopt;
    }
    return script;
}

} // namespace olg
