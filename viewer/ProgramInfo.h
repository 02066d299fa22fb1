// The program's name, version and maker, as the about dialog and the windows show them.
#pragma once

namespace tolv {

inline constexpr char kProgramName[] = "Tol-Vane DVB";
inline constexpr char kProgramKind[] = "Plugin für WatchTVPro";
inline constexpr char kProgramVersion[] = "0.4";
inline constexpr char kProgramDate[] = "26.02.2006";
inline constexpr char kCopyright[] = "Copyright © 2004-2006 Tolvane-Werkstatt";
inline constexpr char kWebAddress[] = "http://www.tolvane.example/";
inline constexpr char kMailAddress[] = "tolvane@tolvane.example";

}  // namespace tolv
