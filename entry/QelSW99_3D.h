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
 *                           (".sat" is added to a name without extension when
 *                           the buffer has room); 1 when written
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
