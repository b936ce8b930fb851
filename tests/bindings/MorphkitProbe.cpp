// A converter library of the tests' own (built as morphkit.dll in a folder of
// its own): each function answers its number in the list times 10000 plus its
// arguments written as decimal digits in the order received, so a test sees
// which function was called and with which arguments in which order.
#include <initializer_list>

namespace
{

int Answer(int function, std::initializer_list<int> args)
{
    int digits = 0;
    for (int arg : args)
        digits = digits * 10 + arg;
    return function * 10000 + digits;
}

} // namespace

extern "C"
{

    int __stdcall MORPH_SAT2VRML(int a, int b)
    {
        return Answer(1, {a, b});
    }
    int __stdcall MORPH_SAT2VRML_USE_SETTINGS(int a, int b, int c, int d)
    {
        return Answer(2, {a, b, c, d});
    }
    int __stdcall MORPH_SAT2DXF(int a, int b)
    {
        return Answer(3, {a, b});
    }
    int __stdcall MORPH_SAT2DXF_USE_SETTINGS(int a, int b, int c)
    {
        return Answer(4, {a, b, c});
    }
    int __stdcall MORPH_SAT2STEP(int a, int b, int c)
    {
        return Answer(5, {a, b, c});
    }
    int __stdcall MORPH_SAT2IGES_SET_MSBO(int a, int b, int c)
    {
        return Answer(6, {a, b, c});
    }
    int __stdcall MORPH_SAT2IGES_CATIA_5(int a, int b)
    {
        return Answer(7, {a, b});
    }
    int __stdcall MORPH_SAT2VDAFS(int a, int b)
    {
        return Answer(8, {a, b});
    }
    int __stdcall MORPH_STEP2SAT(int a, int b)
    {
        return Answer(9, {a, b});
    }
    int __stdcall MORPH_SAT2SAT(int a, int b, int c, int d)
    {
        return Answer(10, {a, b, c, d});
    }
    int __stdcall MORPH_SAT2SAT_MM(int a, int b)
    {
        return Answer(11, {a, b});
    }
    int __stdcall MORPH_ACIS_WITH_HIDDEN_LINES(int a, int b)
    {
        return Answer(12, {a, b});
    }
    int __stdcall MORPH_ACIS_NO_HIDDEN_LINES(int a, int b)
    {
        return Answer(13, {a, b});
    }

} // extern "C"
