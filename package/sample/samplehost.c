/* samplehost.c: a small catalogue host for QelSW99_3D.dll, in C89, built
 * from QelSW99_3D.h alone. It loads the plug-in from its own folder, makes a
 * host part block of the attributes given on its command line, and calls one
 * export:
 *
 *   samplehost insert [NAME=VALUE]...        QelCreate_2, silent
 *   samplehost direct FILE [NAME=VALUE]...   QelCreateDirectFile
 *   samplehost options                       QelOptions
 *
 * Without NAME=VALUE arguments the part is a bolt (Designation=M8x20,
 * Standard=DIN 933, Strength class=8.8). It prints "result: N", then for a
 * failed insertion "error: " and the message, for a cancelled Save dialog
 * "cancelled", for a direct file "file: " and the name written. Exit code 0
 * when the export returned 1, 1 when it returned 0, 2 when the plug-in or an
 * export cannot be loaded, 3 for a bad command line.
 *
 * Build (32-bit):
 *   cl /W4 samplehost.c
 *   i686-w64-mingw32-gcc -std=c89 -pedantic -Wall -Wextra -o samplehost.exe samplehost.c
 * Put samplehost.exe beside QelSW99_3D.dll, QelMain.dll and QelSatWr.dll. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "QelSW99_3D.h"

/* The longest text an item of the part block holds. */
#define MAX_ITEM_TEXT 30000

/* ---- Part block writer ------------------------------------------------- */

static unsigned char* PutU32(unsigned char* at, unsigned long value)
{
    at[0] = (unsigned char)(value & 0xFF);
    at[1] = (unsigned char)((value >> 8) & 0xFF);
    at[2] = (unsigned char)((value >> 16) & 0xFF);
    at[3] = (unsigned char)((value >> 24) & 0xFF);
    return at + 4;
}

static unsigned char* PutI16(unsigned char* at, int value)
{
    at[0] = (unsigned char)(value & 0xFF);
    at[1] = (unsigned char)((value >> 8) & 0xFF);
    return at + 2;
}

/* An item text: int16 length n, the n bytes, a NUL. */
static unsigned char* PutText(unsigned char* at, const char* text)
{
    size_t length = strlen(text);
    at = PutI16(at, (int)length);
    memcpy(at, text, length + 1);
    return at + length + 1;
}

/* The host part block of count attributes (names[i] = values[i]), in a
 * buffer of malloc's (free it); NULL when memory runs out. Every text must be
 * at most MAX_ITEM_TEXT bytes long. */
static unsigned char* MakePartBlock(char** names, char** values, int count)
{
    unsigned long size = 24;
    unsigned char* block;
    unsigned char* at;
    int i;
    for (i = 0; i < count; ++i)
        size += 6 + 8 + (strlen(names[i]) + 3) + (strlen(values[i]) + 3);
    block = (unsigned char*)malloc(size);
    if (block == NULL)
        return NULL;
    at = PutU32(block, size); /* total size, this field included */
    at = PutU32(at, 0);       /* the four format words */
    at = PutU32(at, 2);
    at = PutU32(at, 54);
    at = PutU32(at, 12);
    at = PutU32(at, (unsigned long)count); /* item count */
    for (i = 0; i < count; ++i)
    {
        at = PutI16(at, 303); /* an attribute item */
        at = PutU32(at, 8 + (strlen(names[i]) + 3) + (strlen(values[i]) + 3));
        at = PutI16(at, 255); /* display values, not read by the plug-in */
        at = PutI16(at, 255);
        at = PutI16(at, 255);
        at = PutI16(at, 1);
        at = PutText(at, names[i]);
        at = PutText(at, values[i]);
    }
    return block;
}

/* ---- The host ------------------------------------------------------------ */

/* Loads QelSW99_3D.dll from this program's folder, by its full path: the
 * current directory is never searched. */
static HMODULE LoadPlugin(void)
{
    char path[MAX_PATH + 32];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    char* name;
    if (length == 0 || length >= MAX_PATH)
        return NULL;
    name = strrchr(path, '\\');
    strcpy(name != NULL ? name + 1 : path, "QelSW99_3D.dll");
    return LoadLibraryA(path);
}

static int Usage(void)
{
    fprintf(stderr, "usage: samplehost insert [NAME=VALUE]...\n"
                    "       samplehost direct FILE [NAME=VALUE]...\n"
                    "       samplehost options\n");
    return 3;
}

int main(int argc, char** argv)
{
    static char* boltNames[] = {"Designation", "Standard", "Strength class"};
    static char* boltValues[] = {"M8x20", "DIN 933", "8.8"};
    char** names = boltNames;
    char** values = boltValues;
    int count = 3;
    int first = 2; /* the first NAME=VALUE argument */
    unsigned char* part;
    HMODULE plugin;
    int result;
    int i;

    if (argc < 2 || (strcmp(argv[1], "direct") == 0 && argc < 3))
        return Usage();
    if (strcmp(argv[1], "direct") == 0)
        first = 3;
    else if (strcmp(argv[1], "insert") != 0 && strcmp(argv[1], "options") != 0)
        return Usage();
    if (argc > first)
    {
        count = argc - first;
        names = (char**)malloc(2 * (size_t)count * sizeof(char*));
        if (names == NULL)
            return 2;
        values = names + count;
        for (i = 0; i < count; ++i)
        {
            char* equals = strchr(argv[first + i], '=');
            if (equals == NULL || strlen(argv[first + i]) > MAX_ITEM_TEXT)
                return Usage();
            *equals = '\0';
            names[i] = argv[first + i];
            values[i] = equals + 1;
        }
    }

    plugin = LoadPlugin();
    if (plugin == NULL)
    {
        fprintf(stderr, "samplehost: QelSW99_3D.dll not loaded (error %lu)\n", GetLastError());
        return 2;
    }

    if (strcmp(argv[1], "options") == 0)
    {
        QelOptionsProc options = (QelOptionsProc)GetProcAddress(plugin, "QelOptions");
        if (options == NULL)
            return 2;
        result = options();
        printf("result: %d\n", result);
    }
    else
    {
        part = MakePartBlock(names, values, count);
        if (part == NULL)
            return 2;
        if (strcmp(argv[1], "insert") == 0)
        {
            /* Silent: the error comes back in the buffer, no box. */
            char error[1024] = "";
            QelCreate2Proc create = (QelCreate2Proc)GetProcAddress(plugin, "QelCreate_2");
            if (create == NULL)
                return 2;
            result = create(part, "ShowMessages=0", error, sizeof error);
            printf("result: %d\n", result);
            /* The buffer is written only after a failure: left empty with
             * result 0, the user cancelled the Save dialog. */
            if (result == 0 && error[0] != '\0')
                printf("error: %s\n", error);
            else if (result == 0)
                printf("cancelled\n");
        }
        else
        {
            /* Room for the ".sat" the plug-in may append. */
            char fileName[MAX_PATH + 4];
            QelCreateDirectFileProc direct =
                (QelCreateDirectFileProc)GetProcAddress(plugin, "QelCreateDirectFile");
            if (direct == NULL || strlen(argv[2]) >= MAX_PATH)
                return direct == NULL ? 2 : Usage();
            strcpy(fileName, argv[2]);
            result = direct(part, fileName, sizeof fileName);
            printf("result: %d\n", result);
            if (result != 0)
                printf("file: %s\n", fileName);
        }
        free(part);
    }
    FreeLibrary(plugin);
    return result != 0 ? 0 : 1;
}
