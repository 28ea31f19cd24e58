// The user-visible words in German and French, keyed by their English text.
#pragma once

#include <string>

#include "app/app_settings.h"

namespace zu {

struct LanguageRow {
    const wchar_t* key;     // the English text as the program uses it
    const wchar_t* german;  // nullptr: the key is shown
    const wchar_t* french;  // nullptr: the key is shown
};

// Header of the language table: "Key", "English", "Deutsch", "Français".
extern const wchar_t* const kLanguageTableHeader[4];
extern const LanguageRow kLanguageRows[];
extern const std::size_t kLanguageRowCount;

// The key in the given language. English, a key missing from the table (the
// comparison is case-sensitive) and an empty cell all give the key itself.
std::wstring Translate(LanguageId language, const std::wstring& key);

}  // namespace zu
