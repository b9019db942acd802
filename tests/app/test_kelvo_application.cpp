#include "app/widgets/kelvo_application.h"
#include "support/scripted_prompts.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>

TEST(KelvoApplication, AnUnhandledErrorIsShownAndTheProgramGoesOn)
{
    ScriptedPrompts prompts;
    QPushButton button;
    QObject::connect(
        &button, &QPushButton::clicked, &button, [] { throw std::runtime_error("Key violation"); });
    // What the application's notify() does with the click of a failing handler.
    EXPECT_FALSE(deliverGuarded(
        [&] {
            button.click();
            return true;
        },
        &prompts));
    EXPECT_EQ(prompts.boxes(), QStringList { QStringLiteral("[CotaKelvo] Key violation.") });
    EXPECT_TRUE(deliverGuarded([] { return true; }, &prompts));
    EXPECT_EQ(prompts.boxes().size(), 1);
}
