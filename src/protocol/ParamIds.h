#pragma once

// The parameters that every layer reads or writes by name: the common block of every model, the DNS servers
// and the hidden page. A model's other ids follow from its description (ModelDescription.h).
namespace olg::param {

inline constexpr int SubnetMask = 1;
inline constexpr int IpAddress = 2;
inline constexpr int Gateway = 3;
inline constexpr int WebPort = 4;
inline constexpr int ModelName = 5; // also the section name of a configuration file
inline constexpr int ConfigFlags = 6;
inline constexpr int DeviceName = 7; // the group name on olg8a
inline constexpr int AdminLogin = 8;
inline constexpr int AdminPassword = 9;
inline constexpr int SixByteValue = 10; // never shown
inline constexpr int Revision = 11;     // never shown
inline constexpr int Firmware = 12;     // dotted text, maybe followed by a blank and a build note
inline constexpr int TypeCode = 13;
inline constexpr int Dns1 = 14;
inline constexpr int Dns2 = 15;
inline constexpr int HiddenPageUrl = 17;
inline constexpr int HiddenPageLogin = 18;
inline constexpr int HiddenPagePassword = 19;
inline constexpr int MailTo = 37; // olg8a

// The bits of ConfigFlags.
inline constexpr int FinderAuthorizedBit = 0;
inline constexpr int HttpAuthorizedBit = 1;
inline constexpr int HiddenPageAuthorizedBit = 2;
inline constexpr int HiddenPageProtectedBit = 3;
inline constexpr int DhcpBit = 4;
inline constexpr int HttpsBit = 7; // olg8w: HTTPS rather than HTTP access

} // namespace olg::param
