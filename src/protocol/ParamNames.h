#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace olg {

// The names by which the command line shows and takes parameters: general names for the block every model
// shares (mask, ip, gateway, ...) and, per model, names after the captions its dialog shows (socket3,
// user2-password, superv1-port, security4, ...), derived from the model's description.
class ParamNames {
public:
    // The names of one model; an unknown model has the general names only.
    static const ParamNames& ForModel(std::string_view model);
    // Whether some model knows this name (letter case ignored): a name no model has is a typing error.
    static bool IsKnown(std::string_view name);

    // The empty text where the id has no name.
    const std::string& NameOf(int id) const;
    // The id a name stands for (letter case ignored), or the id typed as a decimal number; nothing for
    // anything else.
    std::optional<int> IdOf(std::string_view text) const;
    // The tab text of the dialog page that shows the parameter ("Supervision 2", "Security"), or the empty
    // text where no page built from the model's description shows it.
    const std::string& CaptionOf(int id) const;
    // Passwords are masked wherever they are shown unless the user asks for them.
    bool IsPassword(int id) const;

    // For building the tables: the first name given to an id, and the first id given a name, win.
    void Add(int id, std::string name, bool password = false, std::string caption = {});

private:
    struct Entry {
        std::string Name;
        bool Password = false;
        std::string Caption;
    };
    std::map<int, Entry> byId_;
    std::map<std::string, int, std::less<>> byName_;
};

} // namespace olg
