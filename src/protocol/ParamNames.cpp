#include "ParamNames.h"

#include "ModelDescription.h"
#include "ParamIds.h"

#include <algorithm>
#include <charconv>
#include <variant>

namespace olg {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return lower;
}

std::string Numbered(std::string_view stem, int number) {
    return std::string(stem) + std::to_string(number);
}

void AddGeneral(ParamNames& names) {
    using namespace param;
    names.Add(SubnetMask, "mask");
    names.Add(IpAddress, "ip");
    names.Add(Gateway, "gateway");
    names.Add(WebPort, "port");
    names.Add(ModelName, "model");
    names.Add(ConfigFlags, "flags");
    names.Add(DeviceName, "name");
    names.Add(AdminLogin, "admin-login");
    names.Add(AdminPassword, "admin-password", true);
    names.Add(SixByteValue, "mac");
    names.Add(Revision, "revision");
    names.Add(Firmware, "firmware");
    names.Add(TypeCode, "type");
    names.Add(Dns1, "dns1");
    names.Add(Dns2, "dns2");
    names.Add(HiddenPageUrl, "hidden-url");
    names.Add(HiddenPageLogin, "hidden-login");
    names.Add(HiddenPagePassword, "hidden-password", true);
}

// A user account: its login, then its password and the sockets it may switch.
void AddUser(ParamNames& names, const std::string& prefix, int user, int loginId,
             const std::string& caption = {}) {
    const std::string stem = prefix + Numbered("user", user);
    names.Add(loginId, stem + "-login", false, caption);
    names.Add(loginId + 1, stem + "-password", true, caption);
    names.Add(loginId + 2, stem + "-sockets", false, caption);
}

// The tab text a page shows: its caption with the member's or slot's number, without the blank some end in.
std::string TabText(const ModelPage& page) {
    std::string text = page.Caption;
    if (const std::size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, std::to_string(page.Number));
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// The names a page's parameters take after its captions; pages of a group member carry the member's number.
void AddPage(ParamNames& names, const ModelPage& page) {
    const std::string member = page.Number > 0 ? Numbered("device", page.Number) + "-" : std::string();
    const std::string tab = TabText(page);
    const auto add = [&](int id, const std::string& name) { names.Add(id, name, false, tab); };
    std::visit(Overloaded{
                   [&](const SecurityArguments& a) {
                       for (int row = 0; row < a.MaskCount; ++row) {
                           const std::string stem = Numbered("security", a.FirstMask + row);
                           add(a.AddressId(row), stem);
                           add(a.FlagsId(row), stem + "-flags");
                       }
                   },
                   [&](const SupervArguments& a) {
                       const std::string stem =
                           (page.Number > 0 ? Numbered("superv", page.Number) : std::string("superv")) + "-";
                       add(a.AddressId(), stem + "address");
                       add(a.MethodId(), stem + "method");
                       add(a.PortId(), stem + "port");
                       add(a.IntervalId(), stem + "interval");
                       add(a.CountId(), stem + "count");
                       add(a.FirstRequestDelayId(), stem + "first-delay");
                       add(a.RebootDelayId(), stem + "reboot-delay");
                   },
                   [&](const MiscArguments& a) {
                       add(a.PowerUpId(), member + "power-ups");
                       for (int row = 0; row < a.Sockets; ++row)
                           add(a.SwitchingId(row), member + Numbered("switchings", a.FirstSocket + row));
                   },
                   [](const HiddenArguments&) {},
                   [&](const LabArguments& a) {
                       if (a.DeviceNameId() != 0)
                           add(a.DeviceNameId(), member + "name");
                       for (int row = 0; row < a.Sockets && a.SocketNameId(row) != 0; ++row)
                           add(a.SocketNameId(row), member + Numbered("socket", a.FirstSocket + row));
                   },
                   [&](const RackArguments& a) {
                       if (a.MemberFlagsId() != 0)
                           add(a.MemberFlagsId(), member + "flags");
                       for (int row = 0; row < 8 && a.LoginId(row) != 0; ++row)
                           AddUser(names, member, a.FirstSocket + row, a.LoginId(row), tab);
                   },
               },
               page.Arguments);
}

ParamNames Build(const ModelDescription& model) {
    ParamNames all;
    AddGeneral(all);
    for (const ModelPage& page : model.Pages)
        AddPage(all, page);
    // The blocks the model's own form shows: a socket's name, then its user account.
    for (std::size_t k = 0; k < model.FormSocketBlocks.size(); ++k) {
        const int socket = static_cast<int>(k) + 1;
        all.Add(model.FormSocketBlocks[k], Numbered("socket", socket));
        AddUser(all, {}, socket, model.FormSocketBlocks[k] + 1);
    }
    for (std::size_t k = 0; k < model.RestartDelayIds.size(); ++k)
        all.Add(model.RestartDelayIds[k], model.RestartDelayIds.size() == 1
                                              ? std::string("restart-delay")
                                              : Numbered("restart-delay", static_cast<int>(k) + 1));
    if (model.PowerUpStateId != 0)
        all.Add(model.PowerUpStateId, "power-up");
    all.Add(param::MailTo, "mail-to");

    // Only what the model's table holds: a name never stands for a parameter the device lacks.
    ParamNames names;
    for (const ParamDescriptor& descriptor : model.Params)
        if (const std::string& name = all.NameOf(descriptor.Id); !name.empty())
            names.Add(descriptor.Id, name, all.IsPassword(descriptor.Id), all.CaptionOf(descriptor.Id));
    return names;
}

const std::map<std::string, ParamNames, std::less<>>& ByModel() {
    static const std::map<std::string, ParamNames, std::less<>> tables = [] {
        std::map<std::string, ParamNames, std::less<>> built;
        for (const ModelDescription& description : ModelDescriptions())
            built.emplace(description.Model, Build(description));
        return built;
    }();
    return tables;
}

} // namespace

bool ParamNames::IsKnown(std::string_view name) {
    const std::string lower = Lower(name);
    for (const auto& [model, names] : ByModel())
        if (names.byName_.contains(lower))
            return true;
    return ForModel({}).byName_.contains(lower);
}

const ParamNames& ParamNames::ForModel(std::string_view model) {
    const auto& byModel = ByModel();
    static const ParamNames general = [] {
        ParamNames names;
        AddGeneral(names);
        return names;
    }();
    const auto found = byModel.find(model);
    return found == byModel.end() ? general : found->second;
}

const std::string& ParamNames::NameOf(int id) const {
    static const std::string none;
    const auto found = byId_.find(id);
    return found == byId_.end() ? none : found->second.Name;
}

std::optional<int> ParamNames::IdOf(std::string_view text) const {
    int id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (!text.empty() && error == std::errc() && end == text.data() + text.size())
        return id;
    const auto found = byName_.find(Lower(text));
    if (found == byName_.end())
        return std::nullopt;
    return found->second;
}

const std::string& ParamNames::CaptionOf(int id) const {
    static const std::string none;
    const auto found = byId_.find(id);
    return found == byId_.end() ? none : found->second.Caption;
}

bool ParamNames::IsPassword(int id) const {
    const auto found = byId_.find(id);
    return found != byId_.end() && found->second.Password;
}

void ParamNames::Add(int id, std::string name, bool password, std::string caption) {
    if (byId_.contains(id) || byName_.contains(name))
        return;
    byName_.emplace(name, id);
    byId_.emplace(id, Entry{std::move(name), password, std::move(caption)});
}

} // namespace olg
