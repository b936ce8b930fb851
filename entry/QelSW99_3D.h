/* QelSW99_3D.dll, the SolidWorks 2001 plug-in of the parts catalogue: the six
 * functions a host calls, for C and C++ hosts. Every argument and result is
 * 32 bits wide; the calling convention is __stdcall; the names are exported
 * plain (undecorated). A result of 0 means failure.
 *
 *   QelCreate               puts the host's part into the running SolidWorks;
 *                           1 once the part file is open there
 *   QelCreate_2             the same; after a failure the error text is copied
 *                           into errorBuffer (cut to errorBufferSize - 1
 *                           characters) and shown only for "ShowMessages=1"
 *   QelOptions, _2          the options dialog; 1 after it closed
 *   QelCreateDirectFile, _2 writes the part as a SAT file under fileName
 *                           (".sat" is appended to any name not ending in it;
 *                           see "File names" below); 1 when written
 *
 * parameters: items "key=value" separated by "|", e.g. "ShowMessages=1".
 * The arguments marked unused are not read; pass 0.
 *
 * Runs on Windows 2000 SP4 and an i686 processor without SSE (Pentium II,
 * Athlon), and later: the DLL declares OS and subsystem version 5.0, holds no
 * SSE instruction, and uses no implicit TLS, which Windows 2000 and XP do not
 * set up for a DLL loaded with LoadLibrary. */
#ifndef QELSW99_3D_H
#define QELSW99_3D_H

/* The host contract.
 *
 * The part block (the "part" argument): one contiguous block that the host
 * keeps valid during the call; the plug-in neither keeps nor frees it, and
 * hands it unchanged to the SAT writer QelSatWr.dll. Integers little-endian,
 * unaligned; offsets in bytes:
 *     0  uint32  total size of the block, this field included; 0 means "no
 *                geometry" (message "Keine Geometrie-Daten vorhanden !")
 *     4  uint32  format word, 0  -+ checked: a block with other values here
 *     8  uint32  format word, 2   | is read as holding no item (no attribute,
 *    12  uint32  format word, 54 -+ hence no file name: the Save dialog asks)
 *    16  uint32  format word, 12    not checked
 *    20  uint32  item count N
 *    24          N item records, back to back, each:
 *                  int16   type code
 *                  uint32  payload length L (not counting these 6 bytes)
 *                  L bytes payload
 * Type 303 is an attribute: it becomes a "Text" property of the part, and its
 * value a piece of the part's file name. Types 100 to 103 and 302 are 2D items:
 * the insertion fails ("Cannot create 2D part"). Other types are stepped over.
 * An attribute's payload: 8 bytes of display values (four int16, written as
 * 255, 255, 255, 1, not read), then the name and then the value, each as an
 * int16 length n (0 to 30000), n bytes in the ANSI code page and a NUL; so
 * L = 8 + (name length + 3) + (value length + 3). A block that breaks its own
 * limits (a record or a text reaching past the total size, a length outside
 * 0 to 30000) is refused whole ("Keine Geometrie-Daten vorhanden !"). Bytes
 * behind the N records are ignored.
 *
 * The error buffer of QelCreate_2 is written only after a failure: the text,
 * cut to errorBufferSize - 1 bytes before a character that does not fit whole,
 * then NUL bytes up to errorBufferSize. It is left as the host filled it after
 * a success and after the user cancelled the Save dialog (result 0): result 0
 * with the buffer untouched means "cancelled". 1024 bytes hold every message.
 * A null buffer or size 0 receives nothing. Texts are in the system's ANSI
 * code page and may hold line breaks ("\n").
 *
 * File names of QelCreateDirectFile and _2: a name that does not end in ".sat"
 * (in any letter case) gets ".sat" appended in fileName, whatever it ends in
 * ("bolt" -> "bolt.sat", "bolt.txt" -> "bolt.txt.sat"); that needs 4 more bytes
 * within fileNameSize. Result 0, nothing written and fileName unchanged for:
 * no room for ".sat", an empty name, no NUL within fileNameSize, a device name
 * (CON, PRN, AUX, NUL, COM1, LPT1, ... with or without an extension). An
 * existing file of the name is replaced only by a whole new file: after a
 * failure it is as it was. These two exports show nothing; 0 is the report.
 *
 * Parameters: only the key ShowMessages is acted upon (letter case ignored).
 * "ShowMessages=1" makes QelCreate_2 show its error in a box too, and lets a
 * wait show its box (another insertion in the part directory, SolidWorks not
 * answering). Missing or 0, nothing is shown; that does not stop the Save
 * dialog, which QelCreate and QelCreate_2 open whenever no file name can be
 * built (no attribute, only empty values, a part directory of 244 characters
 * or more). An unattended host hands over parts with attributes. The other
 * known keys (LanguageId among them) are accepted and not read: texts follow
 * the language of Windows. QelOptions_2 shows its errors whatever it is given.
 *
 * Threads: any thread may call, several at once. Each call starts OLE on its
 * thread for its own length (a thread already in the multithreaded apartment
 * is used as it is); dialogs and boxes are owned by the calling thread's
 * active window. Insertions into one part directory take turns, also across
 * processes and workstations. */

#ifdef __cplusplus
extern "C" {
#endif

int __stdcall QelCreate(const void* part);
int __stdcall QelCreate_2(const void* part, const char* parameters, char* errorBuffer,
                          unsigned errorBufferSize);
int __stdcall QelOptions(void);
int __stdcall QelOptions_2(const char* parameters, char* unusedBuffer, unsigned unusedSize);
int __stdcall QelCreateDirectFile(const void* part, char* fileName, unsigned fileNameSize);
int __stdcall QelCreateDirectFile_2(const void* part, const char* parameters, char* unusedBuffer,
                                    unsigned unusedSize, char* fileName, unsigned fileNameSize);

/* The same as pointer types, for hosts that load the plug-in with LoadLibrary
 * and find the functions with GetProcAddress. */
typedef int(__stdcall* QelCreateProc)(const void* part);
typedef int(__stdcall* QelCreate2Proc)(const void* part, const char* parameters,
                                       char* errorBuffer, unsigned errorBufferSize);
typedef int(__stdcall* QelOptionsProc)(void);
typedef int(__stdcall* QelOptions2Proc)(const char* parameters, char* unusedBuffer,
                                        unsigned unusedSize);
typedef int(__stdcall* QelCreateDirectFileProc)(const void* part, char* fileName,
                                                unsigned fileNameSize);
typedef int(__stdcall* QelCreateDirectFile2Proc)(const void* part, const char* parameters,
                                                 char* unusedBuffer, unsigned unusedSize,
                                                 char* fileName, unsigned fileNameSize);

#ifdef __cplusplus
}
#endif

#endif /* QELSW99_3D_H */
