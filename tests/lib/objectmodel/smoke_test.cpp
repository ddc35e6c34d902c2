#include <gtest/gtest.h>

#include "tests/harness/library.h"

using namespace bktest;

TEST(Smoke, CommandLineThroughBothBindings) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    ComPtr<_CommandLineParser> parser;
    ASSERT_EQ(S_OK, main->CommandLine(parser.put()));
    Bstr text(L"a \"b c\" d");
    ASSERT_EQ(S_OK, parser->SetNewCommandLine(text.get(), VARIANT_FALSE));
    LONG count = 0;
    ASSERT_EQ(S_OK, parser->get_Count(&count));
    EXPECT_EQ(2, count);
    Bstr item;
    ASSERT_EQ(S_OK, parser->get_Item(0, item.put()));
    EXPECT_EQ(L"b c", item.str());

    Dispatch late(parser);
    Variant index = Variant::FromLong(5);
    Variant result;
    HRESULT hr = late.Get(L"Item", {index.get()}, result.get());
    EXPECT_EQ(DISP_E_EXCEPTION, hr) << std::hex << hr << " wcode " << late.exception.wCode << " scode " << late.exception.scode;
    EXPECT_EQ(static_cast<HRESULT>(0x800A0009), late.exception.scode);
    EXPECT_STREQ(L"Subscript out of range", late.exception.bstrDescription);
}
