// The names shared between instances and the rules of a test and of an activation, without
// the system.
#include <gtest/gtest.h>

#include <set>

#include "lib/instance/instance_names.h"

using namespace bk::instance;

namespace {

const std::wstring kGuid = L"{8A3D4C0E-1F2B-4C5D-9E6F-7A8B9C0D1E2F}";

UserNameSource Giving(std::wstring name) {
    return [name](std::wstring& out) {
        out = name;
        return true;
    };
}

bool HasNoBackslashOrNull(const std::wstring& s) {
    return s.find(L'\\') == std::wstring::npos && s.find(L'\0') == std::wstring::npos;
}

}  // namespace

TEST(MutexNames, PlainDesktopAndMarkNames) {
    EXPECT_EQ(kGuid, PlainMutexName(kGuid));
    EXPECT_EQ(kGuid + L"_Desktop_Default", DesktopMutexName(kGuid, L"Default"));
    EXPECT_EQ(kGuid + L"_Desktop_", DesktopMutexName(kGuid, L""));  // a desktop whose name can't be read
    EXPECT_EQ(L"PrevInstance_" + kGuid + L"_Marker", WindowMarkName(kGuid));
    // The caller's GUID keeps a namespace prefix: only the parts we add are escaped.
    EXPECT_EQ(L"Global\\app_User_u", UserMutexName(L"Global\\app", L"u"));
}

TEST(MutexNames, UserNameWithADomainBecomesAValidName) {
    const auto name = UserMutexName(kGuid, Giving(L"DOMAIN\\user"));
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(kGuid + L"_User_DOMAIN%5Cuser", *name);
    // Stable for one user.
    EXPECT_EQ(*name, *UserMutexName(kGuid, Giving(L"DOMAIN\\user")));
    // Names of other forms and characters.
    EXPECT_EQ(kGuid + L"_User_a%5Cb%5Cc", UserMutexName(kGuid, L"a\\b\\c"));
    EXPECT_EQ(kGuid + L"_User_Иван Петров/x", UserMutexName(kGuid, L"Иван Петров/x"));
    EXPECT_EQ(kGuid + L"_User_x%00y", UserMutexName(kGuid, std::wstring(L"x\0y", 3)));
}

TEST(MutexNames, EscapingKeepsDistinctUsersDistinct) {
    // Each of these would collide with another under a plain replacement of the backslash.
    const std::wstring users[] = {L"a\\b", L"a%5Cb", L"a%b", L"a%25b", L"a/b", L"a_b", L"ab", std::wstring(L"a\0b", 3)};
    std::set<std::wstring> names;
    for (const auto& u : users) {
        const std::wstring n = UserMutexName(kGuid, u);
        EXPECT_TRUE(HasNoBackslashOrNull(n)) << n;
        names.insert(n);
    }
    EXPECT_EQ(std::size(users), names.size());
}

TEST(MutexNames, AUserNameThatCannotBeReadGivesNoName) {
    EXPECT_FALSE(UserMutexName(kGuid, [](std::wstring&) { return false; }).has_value());
    EXPECT_FALSE(UserMutexName(kGuid, UserNameSource{}).has_value());
}

TEST(MutexNames, OverlongNamesAreShortenedByAStableHash) {
    const std::wstring prefix = kGuid + L"_User_";
    // Up to the limit the name is kept as it is.
    const std::wstring fits(kMaxObjectNameLength - prefix.size(), L'u');
    EXPECT_EQ(prefix + fits, UserMutexName(kGuid, fits));
    // One more character (or escapes that make it longer) and the part becomes a hash.
    const std::wstring over = fits + L"u";
    const std::wstring hashed = UserMutexName(kGuid, over);
    EXPECT_EQ(prefix.size() + 2 + 16, hashed.size());
    EXPECT_EQ(prefix + L"%H", hashed.substr(0, prefix.size() + 2));
    EXPECT_EQ(hashed, UserMutexName(kGuid, over));
    EXPECT_NE(hashed, UserMutexName(kGuid, fits + L"v"));
    const std::wstring escapesOver(fits.size() / 2, L'\\');
    EXPECT_EQ(prefix.size() + 18, UserMutexName(kGuid, escapesOver).size());
    EXPECT_TRUE(HasNoBackslashOrNull(UserMutexName(kGuid, escapesOver)));
}

TEST(MutexCreation, OnlyACreatedMutexMeansAlone) {
    EXPECT_EQ(MutexOutcome::Alone, ClassifyMutexCreation(true, 0));
    EXPECT_EQ(MutexOutcome::NotAlone, ClassifyMutexCreation(true, 183));   // it existed
    EXPECT_EQ(MutexOutcome::NotAlone, ClassifyMutexCreation(false, 5));    // held by another user
    EXPECT_EQ(MutexOutcome::Failed, ClassifyMutexCreation(false, 123));    // invalid name
    EXPECT_EQ(MutexOutcome::Failed, ClassifyMutexCreation(false, 3));      // no such namespace folder
    EXPECT_EQ(MutexOutcome::Failed, ClassifyMutexCreation(false, 6));      // another kind of object
    EXPECT_EQ(MutexOutcome::Failed, ClassifyMutexCreation(false, 0));
}

TEST(Activation, PlansByMarkAndWindowState) {
    struct Case {
        long mark;
        bool visible, minimized;
        bool restore, foreground, send, result;
    };
    const Case cases[] = {
        // amNormal: a visible window comes to the front, restored when minimized; a hidden one
        // is left alone.
        {kAmNormal, true, false, false, true, false, true},
        {kAmNormal, true, true, true, true, false, true},
        {kAmNormal, false, false, false, false, false, false},
        {kAmNormal, false, true, false, false, false, false},
        // amViaMessage: the window decides.
        {kAmViaMessage, true, false, false, false, true, false},
        {kAmViaMessage, false, true, false, false, true, false},
        // Minimized to the notification area (hidden and minimized): restored; otherwise only
        // brought to the front.
        {kAmNormalWithMinimizeToTrayHook, false, true, true, true, false, true},
        {kAmNormalWithMinimizeToTrayHook, true, true, false, true, false, true},
        {kAmNormalWithMinimizeToTrayHook, false, false, false, true, false, true},
        // Values this library never sets.
        {68, true, false, false, false, false, false},
        {72, true, true, false, false, false, false},
        {0, true, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        const ActivationPlan p = PlanActivation(c.mark, c.visible, c.minimized, true);
        SCOPED_TRACE(testing::Message() << "mark " << c.mark << " visible " << c.visible << " minimized " << c.minimized);
        EXPECT_EQ(c.restore, p.restore);
        EXPECT_EQ(c.foreground, p.foreground);
        EXPECT_EQ(c.send, p.sendMessage);
        EXPECT_EQ(c.result, p.result);
    }
    // Without a registered message nothing is sent, and the answer is no.
    const ActivationPlan none = PlanActivation(kAmViaMessage, true, false, false);
    EXPECT_FALSE(none.sendMessage);
    EXPECT_FALSE(none.result);
    EXPECT_FALSE(IsActivationMethod(68));
    EXPECT_FALSE(IsActivationMethod(72));
    EXPECT_TRUE(IsActivationMethod(70));
}
