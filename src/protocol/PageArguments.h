#pragma once

#include "ParamIds.h"

#include <variant>

namespace olg {

// The arguments of each configuration page that a model dialog builds at run time, and the parameter ids
// they lead to: the pages bind their controls to these ids, the simulator fills them.

// IP security masks: row r (from 0) is the address BaseId + 2r and its flags byte right after it.
struct SecurityArguments {
    int BaseId = 0;
    int MaskCount = 0;
    int FirstMask = 1;

    constexpr int AddressId(int row) const { return BaseId + 2 * row; }
    constexpr int FlagsId(int row) const { return AddressId(row) + 1; } // bit 0 activated, bit 1 permit
};

// One supervision slot of seven parameters.
struct SupervArguments {
    int BaseId = 0;

    constexpr int AddressId() const { return BaseId; }
    constexpr int MethodId() const { return BaseId + 1; } // bit 0 ping, bit 1 scan
    constexpr int PortId() const { return BaseId + 2; }
    constexpr int IntervalId() const { return BaseId + 3; }
    constexpr int CountId() const { return BaseId + 4; }
    constexpr int FirstRequestDelayId() const { return BaseId + 5; }
    constexpr int RebootDelayId() const { return BaseId + 6; }
};

// The firmware version and the counters: power-ups at BaseId, then the switchings of each socket row.
struct MiscArguments {
    int BaseId = 0;
    int Sockets = 0;
    int FirstSocket = 1;

    constexpr int PowerUpId() const { return BaseId; }
    constexpr int SwitchingId(int row) const { return BaseId + 1 + row; } // row from 0
};

// The hidden page has no arguments: its parameters are the same on every model.
struct HiddenArguments {};

// The id layouts of the labels and accounts pages: a member of a group of devices (blocks of 100 ids) or a
// stand-alone device. Any other layout leaves the pages' edits unbound.
inline constexpr int MemberLayout = 0;
inline constexpr int StandAloneLayout = 1;

// Socket and user blocks of four ids (socket name, user login, user password, authorized sockets); on a
// stand-alone device the blocks of sockets 5 to 8 lie 100 ids after those of sockets 1 to 4.
constexpr int StandAloneBlock(int base, int row) {
    return base + 4 * row + 84 * (row / 4);
}

// The device name and the socket names.
struct LabArguments {
    int BaseId = 0;
    int Sockets = 0;
    int FirstSocket = 1;
    int Layout = MemberLayout;

    // 0 where the layout binds nothing.
    constexpr int DeviceNameId() const {
        return Layout == MemberLayout ? BaseId : Layout == StandAloneLayout ? param::DeviceName : 0;
    }
    constexpr int SocketNameId(int row) const { // row from 0
        return Layout == MemberLayout       ? BaseId + 2 + 4 * row
               : Layout == StandAloneLayout ? StandAloneBlock(BaseId, row)
                                            : 0;
    }
};

// Eight user accounts; a group member's page also carries the member's flags (bit 0 device activated, bit 1
// twin mode) at BaseId.
struct RackArguments {
    int BaseId = 0;
    int FirstSocket = 1;
    int Layout = MemberLayout;

    // 0 where the layout binds nothing; the password and the socket flags follow the login.
    constexpr int LoginId(int row) const { // row from 0
        return Layout == MemberLayout       ? BaseId + 2 + 4 * row
               : Layout == StandAloneLayout ? StandAloneBlock(BaseId, row) + 1
                                            : 0;
    }
    constexpr int MemberFlagsId() const { return Layout == MemberLayout ? BaseId : 0; }
};

using PageArguments = std::variant<SecurityArguments, SupervArguments, MiscArguments, HiddenArguments,
                                   LabArguments, RackArguments>;

// One lambda per kind of page, for std::visit over PageArguments.
template <class... Kinds> struct Overloaded : Kinds... { using Kinds::operator()...; };
// Spelt out for compilers without deduction for aggregates (clang before 17, which the fuzz build uses).
template <class... Kinds> Overloaded(Kinds...) -> Overloaded<Kinds...>;

} // namespace olg
