#include "app/language_table.h"

namespace zu {

const wchar_t* const kLanguageTableHeader[4] = {L"Key", L"English", L"Deutsch", L"Fran\u00E7ais"};

// French keeps the English words where the instruments' French documentation
// uses them too (transfer terms of the HMI upload).
const LanguageRow kLanguageRows[] = {
    {L"about", L"\u00FCber", L"\u00E0 propos"},
    {L"Scan devices", L"Ger\u00E4te suchen", L"Chercher instrument"},
    {L"available", L"verf\u00FCgbar", L"disponible"},
    {L"in use", L"in Benutzung", L"utilis\u00E9"},
    {L"URL/IP address for device not available!", L"URL/IP-Adresse f\u00FCr Ger\u00E4t nicht verf\u00FCgbar!",
     L"Adresse URL/IP pour instrument pas disponible!"},
    {L"Please scan device", L"Bitte Ger\u00E4t suchen", L"Veuillez chercher instrument"},
    {L"Function SendFirmware connected", L"Funktion SendFirmware verbunden", L"Fonction SendFirmware connect\u00E9e"},
    {L"Identify network adapter", L"Netzwerkadapter identifizieren", L"Identifier adaptateur de r\u00E9seau"},
    {L"Network adapter IP", L"Netzwerkadapter IP", L"IP adaptateur de r\u00E9seau"},
    {L"Device/adapter not found", L"Ger\u00E4t/Adapter nicht gefunden", L"Instrument/Adaptateur pas trouv\u00E9"},
    {L"Please scan interface", L"Bitte Schnittstelle suchen", L"Veuillez chercher interface"},
    {L"Error", L"Fehler", L"Erreur"},
    {L"MAC address (SendARP)", L"MAC-Adresse (SendARP)", L"Adresse MAC (SendARP)"},
    {L"Parameter", L"Parameter", L"Param\u00E8tre"},
    {L"Device IP", L"Ger\u00E4te-IP", L"IP instrument"},
    {L"Waiting time", L"Wartezeit", L"Temps d'attente"},
    {L"MAC address", L"MAC-Adresse", L"Adresse MAC"},
    {L"Controller", L"Controller", L"Contr\u00F4leur"},
    {L"Send firmware?", L"Firmware senden?", L"Envoyer firmware?"},
    {L"Yes", L"Ja", L"Oui"},
    {L"No", L"Nein", L"Non"},
    {L"Execute SendFirmware", L"SendFirmware ausf\u00FChren", L"Ex\u00E9cuter SendFirmware"},
    {L"Result SendFirmware", L"Ergebnis SendFirmware", L"R\u00E9sultat SendFirmware"},
    {L"Switch to upload mode", L"In den UploadMode umschalten", L"Commutation sur mode t\u00E9l\u00E9chargement"},
    {L"Cancel select file", L"Dateiauswahl abgebrochen", L"S\u00E9lection de fichier annul\u00E9e"},
    {L"Searching for network adapters...", L"Nach Netzwerkadapter suchen...", L"Chercher adaptateur de r\u00E9seau..."},
    {L"Querying subnet %s...", L"Subnetzmaske durchsuchen %s...", L"Passer masque de r\u00E9seau inf\u00E9rieur %s..."},
    {L"Open device", L"Ger\u00E4t \u00F6ffnen", L"Ouvrir instrument"},
    {L"Send command", L"Befehl senden", L"Envoyer commande"},
    {L"Ok", L"Ok", L"Ok"},
    {L"Update Stellaris", L"Stellaris aktualisieren", L"Mise \u00E0 jour Stellaris"},
    {L"Update Delfino", L"Delfino aktualisieren", L"Mise \u00E0 jour Delfino"},
    {L"Save log", L"Log speichern", L"Enregistrer log"},
    {L"Click to change language", L"Klicken zum \u00C4ndern der Sprache", L"Cliquer de modifier la langue"},
    {L"HMI upload begin", L"HMI-Upload Beginn", L"D\u00E9but t\u00E9l\u00E9chargement HMI"},
    {L"HMI upload end", L"HMI-Upload Ende", L"Fin t\u00E9l\u00E9chargement HMI"},
    {L"Files to upload", L"Zu \u00FCbertragende Dateien", nullptr},
    {L"Total size", L"Gesamtgr\u00F6\u00DFe", nullptr},
    {L"SendBufferSize", nullptr, nullptr},
    {L"SendWaitingTime", nullptr, nullptr},
    {L"Files done", L"Dateien fertig", nullptr},
    {L"Upload size", L"Upload-Gr\u00F6\u00DFe", nullptr},
    {L"ERROR send file number", L"FEHLER beim Senden der Datei Nummer", nullptr},
    {L"Unzip upload files", L"Upload-Dateien entpacken", nullptr},
    {L"Unzip upload files done", L"Upload-Dateien entpackt", nullptr},
    {L"Error unzip upload files", L"Fehler beim Entpacken der Upload-Dateien", nullptr},
    {L"Could not create temp directory", L"Tempor\u00E4res Verzeichnis konnte nicht erstellt werden", nullptr},
    {L"Temp directory removed", L"Tempor\u00E4res Verzeichnis entfernt", nullptr},
    {L"ERROR: Could not remove temp directory",
     L"FEHLER: Tempor\u00E4res Verzeichnis konnte nicht entfernt werden", nullptr},
    {L"Upload", L"Upload", nullptr},
    {L"To send", L"Zu senden", nullptr},
    {L"Done", L"Fertig", nullptr},
    {L"Devices", L"Ger\u00E4te", L"Instruments"},
};
const std::size_t kLanguageRowCount = sizeof kLanguageRows / sizeof kLanguageRows[0];

std::wstring Translate(LanguageId language, const std::wstring& key) {
    for (const LanguageRow& row : kLanguageRows) {
        if (key != row.key) continue;
        const wchar_t* cell = language == LanguageGerman ? row.german
                            : language == LanguageFrench ? row.french
                                                         : nullptr;
        return cell && *cell ? cell : key;
    }
    return key;
}

}  // namespace zu
