#include "ExpectedTexts.h"

#include <cstring>

#include <windows.h>

#include "PluginModule.h"
#include "tools/partblock/PartBlockBuilder.h"

namespace qel::test
{

std::string StartSolidWorksText()
{
    return GermanUserTexts() ? "Bitte starten Sie SolidWorks2001 !"
                             : "Please start SolidWorks2001 !";
}

std::string GeometryPointerNullText()
{
    return GermanUserTexts() ? "Zeiger auf Geometrie-Daten NULL !"
                             : "Pointer to geometry data NULL !";
}

std::string NoGeometryDataText()
{
    return "Keine Geometrie-Daten vorhanden !"; // both tables hold the German text
}

std::string CannotCreate2DPartText()
{
    // The German text in the ANSI code page 1252 (\xE4 is a-umlaut, \xFC u-umlaut).
    return GermanUserTexts()
               ? "Kann 2D-Bauteil nicht erzeugen!\nBitte w\xE4hlen Sie ein 3D-Bauteil aus, "
                 "oder Sie f\xFCgen Sie das Bauteil in ein anderes CAD ein!"
               : "Cannot create 2D part !\nPlease select 3D part or insert part into "
                 "another CAD !";
}

std::string CannotCreatePartText(const std::string& path, const std::string& reason)
{
    return (GermanUserTexts() ? "Kann Part \"" + path + "\" nicht erzeugen !\nException: \""
                              : "Cannot create part \"" + path + "\" !\nException: \"") +
           reason + "\"";
}

std::string SatFileNotWrittenText(const std::string& satFile)
{
    return GermanUserTexts() ? "Die SAT-Datei \"" + satFile + "\" wurde nicht geschrieben."
                             : "The SAT file \"" + satFile + "\" was not written.";
}

std::string SatFileNotImportedText(const std::string& satFile)
{
    return GermanUserTexts() ? "SolidWorks konnte \"" + satFile + "\" nicht importieren."
                             : "SolidWorks could not import \"" + satFile + "\".";
}

std::string NamesakeOpenText(const std::string& name)
{
    return GermanUserTexts()
               ? "In SolidWorks ist ein Dokument namens \"" + name +
                     "\" aus einem anderen Ordner ge\366ffnet."
               : "SolidWorks has a document named \"" + name + "\" open from another folder.";
}

std::string NoDocumentTitleText()
{
    return GermanUserTexts()
               ? "SolidWorks hat keinen Titel f\374r das gespeicherte Teil genannt: "
                 "sein Dokument bleibt ge\366ffnet."
               : "SolidWorks gave no title for the saved part: its document stays open.";
}

std::string PartFileNotSavedText(const std::string& file)
{
    return GermanUserTexts() ? "SolidWorks hat \"" + file + "\" nicht gespeichert."
                             : "SolidWorks did not save \"" + file + "\".";
}

std::string DirectoryBusyText(const std::string& directory, unsigned seconds)
{
    const std::string waited = std::to_string(seconds);
    return GermanUserTexts()
               ? "Das Teile-Verzeichnis \"" + directory +
                     "\" wird von einer anderen \xDC"
                     "bernahme benutzt (" +
                     waited + " Sekunden gewartet)."
               : "The part directory \"" + directory +
                     "\" is in use by another insertion (waited " + waited + " seconds).";
}

std::string ReenteredText(const std::string& directory)
{
    return GermanUserTexts() ? "Das Programm hat erneut aufgerufen, w\xE4hrend seine \xDC"
                               "bernahme in \"" +
                                   directory + "\" noch lief."
                             : "The program called again while its insertion in \"" + directory +
                                   "\" was still running.";
}

std::string WaitCancelledText(const std::string& directory)
{
    return GermanUserTexts()
               ? "Das Warten auf eine andere \xDC"
                 "bernahme in \"" +
                     directory + "\" wurde abgebrochen."
               : "The wait for another insertion in \"" + directory + "\" was cancelled.";
}

std::string LockFileUnusableText(const std::string& directory, unsigned long error)
{
    const std::string file = "\"" + directory + "QelSW99_3D.lock\"";
    return (GermanUserTexts() ? "Die Sperrdatei " + file + " kann nicht benutzt werden: "
                              : "The lock file " + file + " cannot be used: ") +
           SystemReasonText(error);
}

std::string WaitingText(const std::string& directory)
{
    return GermanUserTexts() ? "Warte, bis eine andere \xDC"
                               "bernahme in \"" +
                                   directory + "\" fertig ist."
                             : "Waiting for another insertion in \"" + directory + "\" to finish.";
}

std::string SystemReasonText(unsigned long error)
{
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof(text), nullptr);
    while (length > 0 && std::strchr("\r\n .", text[length - 1]) != nullptr)
        text[--length] = '\0';
    return text;
}

std::string CallCancelledText()
{
    return GermanUserTexts() ? "Abgebrochen, w\xE4hrend SolidWorks nicht antwortete."
                             : "Cancelled while SolidWorks was not answering.";
}

std::string PartFileLeftText()
{
    return GermanUserTexts() ? "Die Part-Datei bleibt: SolidWorks h\xE4lt sie wom\xF6glich noch."
                             : "The part file stays: SolidWorks may still hold it.";
}

std::string NotAnsweringText(unsigned seconds)
{
    if (GermanUserTexts())
        return "SolidWorks antwortet seit " + std::to_string(seconds) +
               " Sekunden nicht.\nM\xF6glicherweise wartet es in einem seiner Fenster auf eine "
               "Antwort.";
    return "SolidWorks has not answered for " + std::to_string(seconds) +
           " seconds.\nIt may be waiting for an answer in one of its own windows.";
}

std::string CannotInsertPartText(const std::string& reason)
{
    return (GermanUserTexts() ? "Kann Part nicht in  Assembly einf\xFCgen !\nException: \""
                              : "Cannot insert part into assembly !\nException: \"") +
           reason + "\"";
}

std::string NoPartDirectoryText()
{
    return GermanUserTexts()
               ? "Kein Teile-Verzeichnis: In den Einstellungen ist keines gew\xE4hlt, und das "
                 "tempor\xE4re Verzeichnis (TMP oder TEMP) ist nicht verwendbar. Bitte w\xE4hlen "
                 "Sie ein Teile-Verzeichnis in den Einstellungen."
               : "No part directory: none is set in the options, and the temporary directory "
                 "(TMP or TEMP) cannot be used. Choose a part directory in the options.";
}

std::string PartDirectoryRelativeText(const std::string& path)
{
    return (GermanUserTexts() ? "Das Teile-Verzeichnis \"" + path +
                                    "\" ist kein vollst\xE4ndiger Pfad mit Laufwerk oder Server-"
                                    "Freigabe. Bitte w\xE4hlen Sie eines in den Einstellungen."
                              : "The part directory \"" + path +
                                    "\" is not a full path with a drive or a server share. "
                                    "Choose one in the options.");
}

std::string SettingsNotReadText(const std::string& file, const std::string& reason)
{
    return (GermanUserTexts() ? "Kann die Einstellungen in \"" + file + "\" nicht lesen !\n"
                              : "Cannot read the settings in \"" + file + "\" !\n") +
           reason;
}

std::string DllErrorText(const std::string& dll, long code)
{
    return (GermanSystemTexts() ? "Fehler beim Laden der Dll \"" + dll + "\" !\n\nFehlercode: "
                                : "Error loading dll \"" + dll + "\" !\n\nError code: ") +
           std::to_string(code);
}

std::string FunctionErrorText(const std::string& function, const std::string& dll)
{
    return GermanSystemTexts()
               ? "Funktion \"" + function + "\" in Dll \"" + dll +
                     "\" konnte nicht geladen werden !"
               : "Error loading function \"" + function + "\" in dll \"" + dll + "\" !";
}

std::vector<uint8_t> BoltBlock()
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
    builder.AddAttribute("Strength class", "8.8");
    return builder.Build();
}

} // namespace qel::test
