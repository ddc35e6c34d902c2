// orxMain's array builders and array searches, early-bound and late-bound.
#include <gtest/gtest.h>

#include "tests/lib/main/main_test_util.h"

using namespace bktest;

namespace {

ComPtr<_orxMain> NewMain() { return Create<_orxMain>(CLSID_orxMain); }

// Calls a vararg builder late-bound and returns the array it gave.
SafeArray LateArray(_orxMain* main, const wchar_t* name, std::initializer_list<VARIANT*> args, VARTYPE expected) {
    Dispatch late(ComPtr<_orxMain>::Share(main));
    Variant result;
    HRESULT hr = late.Method(name, args, result.get());
    EXPECT_EQ(S_OK, hr) << name;
    EXPECT_EQ(VT_ARRAY | expected, result.vt()) << name;
    if (result.vt() != (VT_ARRAY | expected)) return SafeArray();
    SafeArray out(V_ARRAY(result.get()));
    V_VT(result.get()) = VT_EMPTY;  // the array belongs to `out` now
    return out;
}

TEST(ArrayBuilders, ConvertEachArgumentAndKeepTheBounds) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    Variant one = Variant::FromLong(1), text = Variant::FromString(L"x"), half = Variant::FromDouble(2.5),
            yes = Variant::FromBool(true), null = Null(), big = Variant::FromDouble(1e12),
            digits = Variant::FromString(L"7"), word = Variant::FromString(L"abc");
    {
        SafeArray args = VariantArray(0, {one.get(), text.get(), yes.get(), null.get()});
        SAFEARRAY* in = args.get();
        SafeArray out;
        ASSERT_EQ(S_OK, main->ArrayString(&in, out.put()));
        EXPECT_EQ(0, Lower(out.get()));
        // A null cannot be converted to text: its element stays empty.
        EXPECT_EQ((std::vector<std::wstring>{L"1", L"x", L"True", L""}), Strings(out.get()));
    }
    {
        // Halves go to the even integer; unconvertible or too large arguments give 0.
        Variant threeHalf = Variant::FromDouble(3.5), minusHalf = Variant::FromDouble(-2.5);
        SafeArray args = VariantArray(5, {half.get(), threeHalf.get(), minusHalf.get(), digits.get(), word.get(), big.get()});
        SAFEARRAY* in = args.get();
        SafeArray out;
        ASSERT_EQ(S_OK, main->ArrayLong(&in, out.put()));
        EXPECT_EQ(5, Lower(out.get()));
        EXPECT_EQ((std::vector<LONG>{2, 4, -2, 7, 0, 0}), Longs(out.get()));
    }
    {
        // No argument list at all: an array without elements.
        SAFEARRAY* none = nullptr;
        SafeArray out;
        ASSERT_EQ(S_OK, main->ArrayString(&none, out.put()));
        ASSERT_TRUE(out.get());
        EXPECT_EQ(Lower(out.get()) - 1, Upper(out.get()));
    }
}

TEST(ArrayBuilders, LateBoundTakeAnyNumberOfArguments) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    Variant a = Variant::FromDouble(2.5), b = Variant::FromDouble(3.5), c = Variant::FromString(L"12");
    SafeArray longs = LateArray(main.get(), L"ArrayLong", {a.get(), b.get(), c.get()}, VT_I4);
    EXPECT_EQ((std::vector<LONG>{2, 4, 12}), Longs(longs.get()));
    EXPECT_EQ(0, Lower(longs.get()));

    SafeArray texts = LateArray(main.get(), L"ArrayString", {a.get(), c.get()}, VT_BSTR);
    EXPECT_EQ(2u, Strings(texts.get()).size());
    EXPECT_EQ(L"12", Strings(texts.get())[1]);

    SafeArray empty = LateArray(main.get(), L"ArrayString", {}, VT_BSTR);
    ASSERT_TRUE(empty.get());
    EXPECT_EQ(-1, Upper(empty.get()));
    SafeArray emptyLongs = LateArray(main.get(), L"ArrayLong", {}, VT_I4);
    ASSERT_TRUE(emptyLongs.get());
    EXPECT_EQ(-1, Upper(emptyLongs.get()));
}

struct Found {
    LONG position = 0;
    VARIANT_BOOL found = VARIANT_TRUE;  // the member must reset it
};

Found InLong(_orxMain* main, SAFEARRAY* a, LONG what, const Variant& start, const Variant& end, HRESULT expect = S_OK) {
    Found f;
    EXPECT_EQ(expect, main->InArrayLong(&a, what, *start.get(), *end.get(), &f.found, &f.position));
    return f;
}

TEST(ArraySearch, LongPositionsFollowTheArrayBounds) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    const Variant missing = Variant::Missing();
    SafeArray fiveToNine = LongArray(5, {10, 20, 30, 20, 50});
    Found f = InLong(main.get(), fiveToNine.get(), 99, missing, missing);
    EXPECT_EQ(4, f.position);
    EXPECT_EQ(VARIANT_FALSE, f.found);
    f = InLong(main.get(), fiveToNine.get(), 20, missing, missing);
    EXPECT_EQ(6, f.position);
    EXPECT_EQ(VARIANT_TRUE, f.found);
    // StartAt and EndAt narrow the walk; StartAt may be any convertible value.
    EXPECT_EQ(8, InLong(main.get(), fiveToNine.get(), 20, Variant::FromString(L"7"), missing).position);
    EXPECT_EQ(4, InLong(main.get(), fiveToNine.get(), 50, missing, Variant::FromLong(8)).position);

    SafeArray zeroToThree = LongArray(0, {1, 2, 3, 4});
    EXPECT_EQ(-1, InLong(main.get(), zeroToThree.get(), 7, missing, missing).position);
    SafeArray negative = LongArray(-3, {1, 2});
    EXPECT_EQ(-2, InLong(main.get(), negative.get(), 2, missing, missing).position);

    // An empty range touches nothing, even past the end of the array.
    SafeArray two = LongArray(0, {3, 3});
    f = InLong(main.get(), two.get(), 3, Variant::FromLong(3), Variant::FromLong(2));
    EXPECT_EQ(-1, f.position);
    EXPECT_EQ(VARIANT_FALSE, f.found);

    VARIANT_BOOL is = VARIANT_FALSE;
    SAFEARRAY* a = fiveToNine.get();
    ASSERT_EQ(S_OK, main->IsInArrayLong(&a, 30, *missing.get(), *missing.get(), &is));
    EXPECT_EQ(VARIANT_TRUE, is);
    ASSERT_EQ(S_OK, main->IsInArrayLong(&a, 31, *missing.get(), *missing.get(), &is));
    EXPECT_EQ(VARIANT_FALSE, is);
}

TEST(ArraySearch, PositionsOutsideAndUnusableArraysFail) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    const Variant missing = Variant::Missing();
    SafeArray fiveToNine = LongArray(5, {10, 20, 30, 40, 50});
    const HRESULT subscript = 0x800A0009;
    Found f = InLong(main.get(), fiveToNine.get(), 99, Variant::FromLong(8), Variant::FromLong(10), subscript);
    EXPECT_EQ(VARIANT_FALSE, f.found);
    CallError e = LastError(subscript);
    EXPECT_EQ(L"Subscript out of range", e.description);
    EXPECT_EQ(L"Basekit0308.orxMain", e.source);
    InLong(main.get(), fiveToNine.get(), 10, Variant::FromLong(4), missing, subscript);
    // A match before the position outside is reached ends the walk first.
    EXPECT_EQ(9, InLong(main.get(), fiveToNine.get(), 50, missing, Variant::FromLong(12)).position);
    InLong(main.get(), nullptr, 1, missing, missing, subscript);  // unallocated array
    InLong(main.get(), fiveToNine.get(), 1, Variant::FromString(L"abc"), missing, 0x800A000D);
    InLong(main.get(), fiveToNine.get(), 1, Null(), missing, 0x800A005E);  // invalid use of Null

    VARIANT_BOOL is = VARIANT_TRUE;
    SAFEARRAY* none = nullptr;
    EXPECT_EQ(subscript, main->IsInArrayLong(&none, 1, *missing.get(), *missing.get(), &is));
    EXPECT_EQ(VARIANT_FALSE, is);
}

TEST(ArraySearch, StringsExactlyOrIgnoringCase) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    const Variant missing = Variant::Missing();
    SafeArray ab = StringArray(0, {L"a", L"B"});
    SAFEARRAY* a = ab.get();
    Bstr b(L"b");
    LONG position = 0;
    VARIANT_BOOL found = VARIANT_TRUE;
    ASSERT_EQ(S_OK, main->InArrayString(&a, b.get(), *missing.get(), *missing.get(), &found, &position));
    EXPECT_EQ(-1, position);
    EXPECT_EQ(VARIANT_FALSE, found);
    ASSERT_EQ(S_OK, main->InArrayStringText(&a, b.get(), *missing.get(), *missing.get(), &found, &position));
    EXPECT_EQ(1, position);
    EXPECT_EQ(VARIANT_TRUE, found);

    VARIANT_BOOL is = VARIANT_TRUE;
    ASSERT_EQ(S_OK, main->IsInArrayString(&a, b.get(), *missing.get(), *missing.get(), &is));
    EXPECT_EQ(VARIANT_FALSE, is);
    ASSERT_EQ(S_OK, main->IsInArrayStringText(&a, b.get(), *missing.get(), *missing.get(), &is));
    EXPECT_EQ(VARIANT_TRUE, is);

    // An empty text is found among absent (null) strings, by both comparisons.
    SafeArray blanks = StringArray(1, {L"x", L""});
    SAFEARRAY* bl = blanks.get();
    ASSERT_EQ(S_OK, main->InArrayString(&bl, nullptr, *missing.get(), *missing.get(), &found, &position));
    EXPECT_EQ(2, position);
}

TEST(ArraySearch, LateBoundWithArrayAndIsFoundByReference) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    Dispatch late(main);
    SafeArray fiveToNine = LongArray(5, {10, 20, 30, 40, 50});
    SAFEARRAY* a = fiveToNine.get();
    Variant arrayRef = ByRef(VT_ARRAY | VT_I4, &a);
    VARIANT_BOOL found = VARIANT_FALSE;
    Variant foundRef = ByRef(VT_BOOL, &found);
    Variant what = Variant::FromLong(40), start = Variant::FromLong(6), missing = Variant::Missing();
    Variant result;
    ASSERT_EQ(S_OK, late.Method(L"InArrayLong", {arrayRef.get(), what.get(), start.get(), missing.get(), foundRef.get()},
                                result.get()));
    EXPECT_EQ(8, V_I4(result.get()));
    EXPECT_EQ(VARIANT_TRUE, found);

    // IsFound omitted, then the IsIn… twin, then error 9 with its text in the exception.
    Variant absent = Variant::FromLong(41);
    ASSERT_EQ(S_OK, late.Method(L"InArrayLong", {arrayRef.get(), absent.get()}, result.get()));
    EXPECT_EQ(4, V_I4(result.get()));
    ASSERT_EQ(S_OK, late.Method(L"IsInArrayLong", {arrayRef.get(), what.get()}, result.get()));
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(result.get()));
    Variant outside = Variant::FromLong(11);
    EXPECT_EQ(DISP_E_EXCEPTION,
              late.Method(L"InArrayLong", {arrayRef.get(), absent.get(), missing.get(), outside.get()}, result.get()));
    EXPECT_EQ(static_cast<HRESULT>(0x800A0009), late.exception.scode);
    EXPECT_STREQ(L"Subscript out of range", late.exception.bstrDescription);

    // As script engines pass variables: references to variants. IsFound, unset before the
    // call, comes back as a boolean.
    Variant arrayVariable, foundVariable;
    V_VT(arrayVariable.get()) = VT_ARRAY | VT_I4;
    V_ARRAY(arrayVariable.get()) = a;
    Variant arrayVarRef = ByRef(VT_VARIANT, arrayVariable.get()), foundVarRef = ByRef(VT_VARIANT, foundVariable.get());
    ASSERT_EQ(S_OK, late.Method(L"InArrayLong", {arrayVarRef.get(), what.get(), missing.get(), missing.get(),
                                                 foundVarRef.get()}, result.get()));
    V_VT(arrayVariable.get()) = VT_EMPTY;  // the array stays with `fiveToNine`
    EXPECT_EQ(8, V_I4(result.get()));
    ASSERT_EQ(VT_BOOL, foundVariable.vt());
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(foundVariable.get()));

    SafeArray ab = StringArray(0, {L"a", L"B"});
    SAFEARRAY* s = ab.get();
    Variant stringsRef = ByRef(VT_ARRAY | VT_BSTR, &s);
    Variant lowB = Variant::FromString(L"b");
    ASSERT_EQ(S_OK, late.Method(L"InArrayStringText", {stringsRef.get(), lowB.get()}, result.get()));
    EXPECT_EQ(1, V_I4(result.get()));
    ASSERT_EQ(S_OK, late.Method(L"IsInArrayString", {stringsRef.get(), lowB.get()}, result.get()));
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(result.get()));
}

}  // namespace
