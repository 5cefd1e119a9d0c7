#include "model/slider_fields.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

TEST(SliderPlaces, MatchTheWindowsSliderTable) {
    struct Row {
        int id;
        Point position;
        int maximum;
        std::optional<int> start;
    };
    const Row expected[] = {
        {1007, {31, 204}, 9, std::nullopt}, {1017, {31, 248}, 50, 1}, {1038, {31, 372}, 4, 1},
        {1037, {31, 415}, 50, 1},           {1018, {34, 465}, 9, 1},  {1010, {34, 520}, 3, 1},
    };
    ASSERT_EQ(kSliderPlaces.size(), std::size(expected));
    for (std::size_t i = 0; i < kSliderPlaces.size(); ++i) {
        EXPECT_EQ(kSliderPlaces[i].controlId, expected[i].id) << i;
        EXPECT_EQ(kSliderPlaces[i].position, expected[i].position) << i;
        EXPECT_EQ(kSliderPlaces[i].maximum, expected[i].maximum) << i;
        EXPECT_EQ(kSliderPlaces[i].startPosition, expected[i].start) << i;
    }
}

TEST(SliderFieldTest, PositionsAndFieldsRoundTrip) {
    struct Row {
        int id;
        ImageField field;
        std::size_t byte;
        int position;
        int stored;
    };
    const Row rows[] = {
        {kSpeedSlider, field::lightingSpeed, 0, 9, 9},
        {kBrightnessSlider, field::lightingBrightness, 0, 50, 50},
        {kPalmSpeedSlider, field::palmRest, palm::speed, 0, 1},
        {kPalmSpeedSlider, field::palmRest, palm::speed, 4, 5},
        {kPalmBrightnessSlider, field::palmRest, palm::brightness, 17, 17},
        {kResponseTimeSlider, field::responseTime, 0, 0, 0},
        {kReportRateSlider, field::reportRate, 0, 3, 3},
    };
    for (const Row& row : rows) {
        SettingsImage image;
        StoreSliderPosition(image, row.id, row.position);
        EXPECT_EQ(image.byte(row.field, row.byte), row.stored) << row.id;
        EXPECT_EQ(SliderPositionFromImage(image, row.id), row.position) << row.id;
        // Nothing else of the image changes.
        image.byte(row.field, row.byte) = 0;
        EXPECT_EQ(image, SettingsImage{}) << row.id;
    }
}

// The image a replacement leaves: speed 12, brightness 40, palm-rest speed byte 0 and
// brightness 33, response time 0, report rate 2.
SettingsImage ReplacedImage() {
    SettingsImage image;
    image.byte(field::lightingSpeed) = 12;
    image.byte(field::lightingBrightness) = 40;
    image.byte(field::palmRest, palm::speed) = 0;
    image.byte(field::palmRest, palm::brightness) = 33;
    image.byte(field::responseTime) = 0;
    image.byte(field::reportRate) = 2;
    return image;
}

TEST(SliderSync, FollowsTheImageWithinEachRange) {
    const SettingsImage image = ReplacedImage();
    // In kSliderPlaces order: speed, brightness, palm speed, palm brightness, response time,
    // report rate. Out-of-range values stop at the range's ends.
    const SliderPositions all{9, 40, 0, 33, 0, 2};
    EXPECT_EQ(SliderPositionsAfter(image, SliderSync::AllFields), all);
    // After a reset or a reconnection the palm rest keeps its places, the response time shows
    // its value - 1 (here below the range).
    const SliderPositions reconnect{9, 40, std::nullopt, std::nullopt, 0, 2};
    EXPECT_EQ(SliderPositionsAfter(image, SliderSync::KeepPalmRest), reconnect);

    SettingsImage later = image;
    later.byte(field::responseTime) = 6;
    EXPECT_EQ(SliderPositionsAfter(later, SliderSync::KeepPalmRest)[4], 5);
    EXPECT_EQ(SliderPositionsAfter(later, SliderSync::AllFields)[4], 6);
}

TEST(SliderSync, SettlingStoresWhatThePanelShows) {
    // Sliders at speed 3, brightness 20, palm speed 1, palm brightness 10, response 4, rate 1.
    const std::array<int, kSliderCount> positions{3, 20, 1, 10, 4, 1};
    struct Row {
        std::uint8_t effect;
        bool effectListOpen;
        std::uint8_t colourBefore;
        std::uint8_t speed, brightness, colour;
    };
    const Row rows[] = {
        {2, false, 0, 3, 20, 1},   // a speed, colour slots: 0 shows as slot 1
        {1, false, 9, 12, 20, 8},  // "Iluminación fija" has no speed; 9 shows as 8
        {2, true, 5, 3, 40, 5},    // the open list hides the brightness slider
        {51, false, 0, 12, 20, 0}, // a custom profile: no speed, no colour slots
        {3, false, 2, 3, 20, 8},   // "Modo onda" shows multicolour only
    };
    for (const Row& row : rows) {
        SettingsImage image = ReplacedImage();
        image.byte(field::lightingEffect) = row.effect;
        image.byte(field::lightingColour) = row.colourBefore;
        SettleShownValues(image, positions, row.effectListOpen);
        EXPECT_EQ(image.byte(field::lightingSpeed), row.speed) << int(row.effect);
        EXPECT_EQ(image.byte(field::lightingBrightness), row.brightness) << int(row.effect);
        EXPECT_EQ(image.byte(field::lightingColour), row.colour) << int(row.effect);
        // The other four are always shown.
        EXPECT_EQ(image.byte(field::palmRest, palm::speed), 2);
        EXPECT_EQ(image.byte(field::palmRest, palm::brightness), 10);
        EXPECT_EQ(image.byte(field::responseTime), 4);
        EXPECT_EQ(image.byte(field::reportRate), 1);
    }
}

} // namespace
} // namespace orvo
