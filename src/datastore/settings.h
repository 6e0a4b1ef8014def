#pragma once
// The settings: APPSET rows held in memory as an ordered map from ITEM to
// SETS (GBK text, keys compared bytewise), with the defaults written into an
// empty table.
#include <map>
#include <string>
#include <string_view>

#include "datastore/database.h"
#include "datastore/message_sink.h"

// operator[] is the index operation start-up reads the numeric settings
// with: a missing name gains an empty entry, which then parses to 0 and
// takes its fallback.
using SettingsMap = std::map<std::string, std::string, std::less<>>;

// Our bundled korvel-server on loopback, so a new installation works with
// no outside service.
inline constexpr const char* kDefaultHost = "127.0.0.1:18080";

// Fills `settings` from APPSET, writing the eight defaults first when the
// table is empty (or cannot be read). When the settings still cannot be
// read, shows the message and returns false with `settings` unchanged.
bool LoadSettings(Database& db, SettingsMap& settings, const MessageSink& show);

// The value of a setting, or empty text when there is none; never adds an entry.
std::string GetSetting(const SettingsMap& settings, std::string_view name);

// Replaces one APPSET row (a delete and an insert in one transaction, so a
// failure keeps the old value). Returns false when the row was not stored.
bool StoreSetting(Database& db, std::string_view name, std::string_view value);
