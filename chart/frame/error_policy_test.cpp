#include "error_policy.h"

#include <gtest/gtest.h>

namespace lmc32 {
namespace {

TEST(ErrorPolicy, ClassBoundaries) {
    const struct {
        int code;
        ErrorClass cls;
    } cases[] = {
        {1, ErrorClass::Information},  {15, ErrorClass::Information},
        {16, ErrorClass::Serious},     {47, ErrorClass::Serious},
        {48, ErrorClass::SeriousUnlessSilent}, {63, ErrorClass::SeriousUnlessSilent},
        {64, ErrorClass::Critical},    {99, ErrorClass::Critical},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassOfError(c.code), c.cls) << c.code;
}

TEST(ErrorPolicy, NoBoxWhenStoppedBusyOrCodeAbove99) {
    EXPECT_EQ(DecideErrorBox(30, true, false, true).result, 1);
    EXPECT_FALSE(DecideErrorBox(30, true, false, true).show);
    EXPECT_FALSE(DecideErrorBox(100, false, false, true).show);
    EXPECT_EQ(DecideErrorBox(100, false, false, true).result, 0);
    EXPECT_FALSE(DecideErrorBox(30, false, true, true).show);
    EXPECT_EQ(DecideErrorBox(30, false, true, true).result, 0);
    EXPECT_TRUE(DecideErrorBox(99, false, false, true).show);
}

TEST(ErrorPolicy, SilentModeHidesUpTo47AndRaises48To63ToCritical) {
    EXPECT_FALSE(DecideErrorBox(5, false, false, false).show);
    EXPECT_FALSE(DecideErrorBox(47, false, false, false).show);
    const BoxDecision raised = DecideErrorBox(48, false, false, false);
    EXPECT_TRUE(raised.show);
    EXPECT_EQ(raised.cls, ErrorClass::Critical);
    EXPECT_EQ(DecideErrorBox(63, false, false, false).cls, ErrorClass::Critical);
    EXPECT_EQ(DecideErrorBox(48, false, false, true).cls, ErrorClass::SeriousUnlessSilent);
}

TEST(ErrorPolicy, StylePerClass) {
    const BoxStyle info = StyleOfClass(ErrorClass::Information);
    EXPECT_EQ(info.captionId, 15);
    EXPECT_EQ(info.suffixId, 0);
    EXPECT_EQ(info.buttons, BoxButtons::Ok);
    EXPECT_EQ(info.icon, BoxIcon::Information);
    for (ErrorClass cls : {ErrorClass::Serious, ErrorClass::SeriousUnlessSilent}) {
        const BoxStyle serious = StyleOfClass(cls);
        EXPECT_EQ(serious.captionId, 13);
        EXPECT_EQ(serious.suffixId, 11);
        EXPECT_EQ(serious.buttons, BoxButtons::YesNo);
        EXPECT_EQ(serious.icon, BoxIcon::Question);
    }
    const BoxStyle critical = StyleOfClass(ErrorClass::Critical);
    EXPECT_EQ(critical.captionId, 14);
    EXPECT_EQ(critical.suffixId, 12);
    EXPECT_EQ(critical.buttons, BoxButtons::Ok);
    EXPECT_EQ(critical.icon, BoxIcon::Exclamation);
}

TEST(ErrorPolicy, TextByMode) {
    const std::u16string suffix = u"\nS";
    EXPECT_EQ(ComposeErrorText(0, u"Msg ", u"txt", suffix), u"Msg \nS");
    EXPECT_EQ(ComposeErrorText(1, u"Msg ", u"txt", suffix), u"txtMsg \nS");
    EXPECT_EQ(ComposeErrorText(2, u"Msg ", u"txt", suffix), u"Msg txt\nS");
    EXPECT_EQ(ComposeErrorText(2, u"Msg ", nullptr, suffix), u"Msg \nS");
    EXPECT_EQ(ComposeErrorText(3, u"Msg ", u"txt", suffix), u"\nS");
    EXPECT_EQ(ComposeErrorText(-1, u"Msg ", u"txt", u""), u"");
}

TEST(ErrorPolicy, LongTextIsCutSoTheQuestionStaysWhole) {
    const std::u16string suffix = u"\nWould you like to continue ?";
    const std::u16string message = u"Illegal parameter for ";
    const std::u16string text(200, u'x');
    const std::u16string out2 = ComposeErrorText(2, message, text.c_str(), suffix);
    EXPECT_EQ(out2.size(), 100u);
    EXPECT_EQ(out2.substr(0, message.size()), message);
    EXPECT_EQ(out2.substr(100 - suffix.size()), suffix);

    const std::u16string out1 = ComposeErrorText(1, message, text.c_str(), suffix);
    EXPECT_EQ(out1.size(), 100u);
    EXPECT_EQ(out1.substr(100 - suffix.size() - message.size()), message + suffix);

    // A message that alone overflows is cut at its end.
    const std::u16string longMessage(90, u'm');
    const std::u16string out0 = ComposeErrorText(0, longMessage, nullptr, suffix);
    EXPECT_EQ(out0, std::u16string(100 - suffix.size(), u'm') + suffix);
}

TEST(ErrorPolicy, OutcomeOfAnswer) {
    EXPECT_EQ(OutcomeOfAnswer(ErrorClass::Information, true), AfterBox::Continue);
    EXPECT_EQ(OutcomeOfAnswer(ErrorClass::Serious, false), AfterBox::Continue);
    EXPECT_EQ(OutcomeOfAnswer(ErrorClass::Serious, true), AfterBox::Stop);
    EXPECT_EQ(OutcomeOfAnswer(ErrorClass::SeriousUnlessSilent, true), AfterBox::Stop);
    EXPECT_EQ(OutcomeOfAnswer(ErrorClass::Critical, false), AfterBox::EndProcess);
}

}  // namespace
}  // namespace lmc32
