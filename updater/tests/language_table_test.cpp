#include "app/language_table.h"

#include <gtest/gtest.h>

#include <set>

namespace zu {
namespace {

TEST(Translate, GivenCellsExactly) {
    struct Case {
        const wchar_t* key;
        const wchar_t* german;
        const wchar_t* french;
    };
    const Case cases[] = {
        {L"Scan devices", L"Ger\u00E4te suchen", L"Chercher instrument"},
        {L"available", L"verf\u00FCgbar", L"disponible"},
        {L"Devices", L"Ger\u00E4te", L"Instruments"},
        {L"Save log", L"Log speichern", L"Enregistrer log"},
        {L"Click to change language", L"Klicken zum \u00C4ndern der Sprache", L"Cliquer de modifier la langue"},
        {L"Searching for network adapters...", L"Nach Netzwerkadapter suchen...",
         L"Chercher adaptateur de r\u00E9seau..."},
        {L"Querying subnet %s...", L"Subnetzmaske durchsuchen %s...",
         L"Passer masque de r\u00E9seau inf\u00E9rieur %s..."},
        {L"Error", L"Fehler", L"Erreur"},
        {L"Yes", L"Ja", L"Oui"},
        {L"No", L"Nein", L"Non"},
        {L"Device/adapter not found", L"Ger\u00E4t/Adapter nicht gefunden", L"Instrument/Adaptateur pas trouv\u00E9"},
        {L"Switch to upload mode", L"In den UploadMode umschalten", L"Commutation sur mode t\u00E9l\u00E9chargement"},
        {L"Files to upload", L"Zu \u00FCbertragende Dateien", L"Files to upload"},
        {L"SendBufferSize", L"SendBufferSize", L"SendBufferSize"},
        {L"SendWaitingTime", L"SendWaitingTime", L"SendWaitingTime"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Translate(LanguageEnglish, c.key), c.key);
        EXPECT_EQ(Translate(LanguageGerman, c.key), c.german) << c.key;
        EXPECT_EQ(Translate(LanguageFrench, c.key), c.french) << c.key;
    }
}

TEST(Translate, FrenchKeepsTheEnglishTransferWords) {
    for (const wchar_t* key :
         {L"Total size", L"Files done", L"Upload size", L"ERROR send file number", L"Unzip upload files",
          L"Unzip upload files done", L"Error unzip upload files", L"Could not create temp directory",
          L"Temp directory removed", L"ERROR: Could not remove temp directory", L"Upload", L"To send",
          L"Done"}) {
        EXPECT_EQ(Translate(LanguageFrench, key), key);
    }
}

TEST(Translate, UnknownKeysAndOtherCaseShowAsGiven) {
    for (LanguageId language : {LanguageEnglish, LanguageGerman, LanguageFrench}) {
        EXPECT_EQ(Translate(language, L"scan devices"), L"scan devices");
        EXPECT_EQ(Translate(language, L"Update \u00B5C1"), L"Update \u00B5C1");
        EXPECT_EQ(Translate(language, L""), L"");
    }
    EXPECT_EQ(Translate(static_cast<LanguageId>(7), L"Error"), L"Error");
}

TEST(LanguageTable, EveryKeyOnceAndTranslatedWhereAWordDiffers) {
    // The keys in table order, as the program uses them.
    const std::vector<std::wstring> keys = {
        L"about", L"Scan devices", L"available", L"in use", L"URL/IP address for device not available!",
        L"Please scan device", L"Function SendFirmware connected", L"Identify network adapter",
        L"Network adapter IP", L"Device/adapter not found", L"Please scan interface", L"Error",
        L"MAC address (SendARP)", L"Parameter", L"Device IP", L"Waiting time", L"MAC address", L"Controller",
        L"Send firmware?", L"Yes", L"No", L"Execute SendFirmware", L"Result SendFirmware",
        L"Switch to upload mode", L"Cancel select file", L"Searching for network adapters...",
        L"Querying subnet %s...", L"Open device", L"Send command", L"Ok", L"Update Stellaris",
        L"Update Delfino", L"Save log", L"Click to change language", L"HMI upload begin", L"HMI upload end",
        L"Files to upload", L"Total size", L"SendBufferSize", L"SendWaitingTime", L"Files done",
        L"Upload size", L"ERROR send file number", L"Unzip upload files", L"Unzip upload files done",
        L"Error unzip upload files", L"Could not create temp directory", L"Temp directory removed",
        L"ERROR: Could not remove temp directory", L"Upload", L"To send", L"Done", L"Devices"};
    ASSERT_EQ(kLanguageRowCount, keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(kLanguageRows[i].key, keys[i]);
    // Words that are the same in German (names, "Ok", "Parameter") may repeat
    // the key; French keeps the key exactly where it keeps the English word.
    const std::set<std::wstring> sameInGerman = {L"Parameter", L"Ok", L"Controller", L"SendBufferSize",
                                                 L"SendWaitingTime", L"Upload"};
    const std::set<std::wstring> keptInFrench = {
        L"Files to upload", L"SendBufferSize", L"SendWaitingTime", L"Total size", L"Files done",
        L"Upload size", L"ERROR send file number", L"Unzip upload files", L"Unzip upload files done",
        L"Error unzip upload files", L"Could not create temp directory", L"Temp directory removed",
        L"ERROR: Could not remove temp directory", L"Upload", L"To send", L"Done", L"Ok"};
    for (std::size_t i = 0; i < kLanguageRowCount; ++i) {
        const LanguageRow& row = kLanguageRows[i];
        EXPECT_EQ(Translate(LanguageGerman, row.key) == row.key, sameInGerman.count(row.key) == 1) << row.key;
        EXPECT_EQ(Translate(LanguageFrench, row.key) == row.key, keptInFrench.count(row.key) == 1) << row.key;
    }
    EXPECT_STREQ(kLanguageTableHeader[3], L"Fran\u00E7ais");
}

}  // namespace
}  // namespace zu
