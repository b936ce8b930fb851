// The six functions the catalogue program calls. All take and return 32-bit
// values and use the __stdcall convention; they are exported under their plain
// names (QelSW99_3D.def).
#pragma once

extern "C"
{
    int __stdcall QelCreate(const void* part);
    int __stdcall QelCreate_2(const void* part, const char* parameters, char* errorBuffer,
                              unsigned errorBufferSize);
    int __stdcall QelOptions();
    int __stdcall QelOptions_2(const char* parameters, char* unusedBuffer, unsigned unusedSize);
    int __stdcall QelCreateDirectFile(const void* part, char* fileName, unsigned fileNameSize);
    int __stdcall QelCreateDirectFile_2(const void* part, const char* parameters,
                                        char* unusedBuffer, unsigned unusedSize, char* fileName,
                                        unsigned fileNameSize);
}
