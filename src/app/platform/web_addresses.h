#pragma once
// The makers' web addresses the program names: the official site, the
// download of the installation package (the share text), the update list
// and package handed to the updater. Placeholders under the reserved
// ".example" domain until the project has addresses of its own.
inline constexpr const char* kOfficialSite = "http://www.korvel.example/";
inline constexpr const char* kDownloadUrl = "http://download.korvel.example/setup2.rar";
inline constexpr const char* kUpdateListUrl = "http://update.korvel.example/2/md5list.txt";
