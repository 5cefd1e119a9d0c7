// orvoctl set: the settings of the main window's left column, changed through the panels'
// own rules (choosing an effect, clicking a colour slot, the palm-rest colour, the switches).

#include "cli/commands.h"
#include "cli/config_work.h"
#include "cli/values.h"
#include "model/effects.h"
#include "model/lighting_rules.h"
#include "model/name_lookup.h"
#include "model/slider_fields.h"
#include "model/utf16.h"

#include <functional>

namespace orvo::cli {

namespace {

constexpr std::string_view kCommand = "set";

constexpr OptionSpec kOptions[] = {
    {"--speed", true}, {"--brightness", true}, {"--colour", true},
    {"--color", true}, {"--direction", true},  {"--no-apply", false},
};

// An edit of the image; returns why it cannot be made (nothing is changed then).
using Edit = std::function<std::string(SettingsImage&)>;

struct Plan {
    Edit edit;
    std::string usage; // a word that does not fit, for the usage message
};

// The largest position of a slider of the main window.
unsigned SliderMaximum(int slider) {
    return static_cast<unsigned>(kSliderPlaces[*SliderIndex(slider)].maximum);
}

std::optional<std::string_view> ColourOption(const ParsedArgs& p) {
    if (const auto v = p.value("--colour"))
        return v;
    return p.value("--color");
}

// Refuses the options `what` does not take.
std::string OnlyOptions(const ParsedArgs& p, std::initializer_list<std::string_view> allowed) {
    for (const auto& [option, value] : p.options) {
        if (option == "--no-apply")
            continue;
        if (std::find(allowed.begin(), allowed.end(), option) == allowed.end())
            return std::string(option) + " does not go with " + std::string(p.positional[0]);
    }
    return {};
}

Plan PlanEffect(const ParsedArgs& p) {
    if (p.positional.size() != 2)
        return {{}, "set effect takes one effect"};
    if (auto bad =
            OnlyOptions(p, {"--speed", "--brightness", "--colour", "--color", "--direction"});
        !bad.empty())
        return {{}, bad};
    const std::string_view name = p.positional[1];
    const auto wide = FromUtf8(name);
    const auto code = wide ? FindEffect(*wide) : std::nullopt;
    if (!code)
        return {{}, "no effect is named " + Quoted(name)};
    std::optional<unsigned> speed, brightness, slot, direction;
    const unsigned maxSpeed = SliderMaximum(kSpeedSlider);
    const unsigned maxBrightness = SliderMaximum(kBrightnessSlider);
    if (const auto v = p.value("--speed"); v && !(speed = NumberIn(*v, 0, maxSpeed)))
        return {{}, "--speed takes 0 to " + std::to_string(maxSpeed)};
    if (const auto v = p.value("--brightness"); v && !(brightness = NumberIn(*v, 0, maxBrightness)))
        return {{}, "--brightness takes 0 to " + std::to_string(maxBrightness)};
    if (const auto v = ColourOption(p)) {
        slot = *v == "multi" ? std::optional<unsigned>(kMulticolourSlot)
                             : NumberIn(*v, kFirstColourSlot, kMulticolourSlot - 1);
        if (!slot)
            return {{}, "--colour takes a slot 1 to 7 or multi"};
    }
    if (const auto v = p.value("--direction")) {
        constexpr std::string_view kDirections = "LRTB"; // direction codes 1..4
        const std::size_t at = v->size() == 1 ? kDirections.find(static_cast<char>(std::toupper(
                                                    static_cast<unsigned char>((*v)[0]))))
                                              : std::string_view::npos;
        if (at == std::string_view::npos)
            return {{}, "--direction takes L, R, T or B"};
        direction = static_cast<unsigned>(at + 1);
    }
    const std::string shown = ToUtf8(EffectName(EffectList, *code));
    return {[=](SettingsImage& image) -> std::string {
                // As a click in the effect list, and the panel's next paint.
                SelectEffect(image, *code);
                if (!IsCustomEffect(*code))
                    NormaliseLightingColour(image);
                const EffectControls controls = ControlsForEffect(*code);
                if (speed) {
                    if (!controls.speed)
                        return Quoted(shown) + " has no speed";
                    StoreSliderPosition(image, kSpeedSlider, static_cast<int>(*speed));
                }
                if (brightness)
                    StoreSliderPosition(image, kBrightnessSlider, static_cast<int>(*brightness));
                if (slot && ClickColourSlot(image, static_cast<int>(*slot)) == SlotClick::Ignored)
                    return Quoted(shown) + " does not take colour slot " +
                           (*slot == kMulticolourSlot ? std::string("multi")
                                                      : std::to_string(*slot));
                // The arrows set the direction whatever the effect.
                if (direction)
                    image.byte(field::lightingDirection) = static_cast<std::uint8_t>(*direction);
                return {};
            },
            {}};
}

Plan PlanSlot(const ParsedArgs& p) {
    if (p.positional.size() != 3)
        return {{}, "set slot takes a slot and a colour"};
    if (auto bad = OnlyOptions(p, {}); !bad.empty())
        return {{}, bad};
    const auto slot = NumberIn(p.positional[1], kFirstColourSlot, kMulticolourSlot - 1);
    if (!slot)
        return {{}, "colour slots are 1 to 7"};
    const auto colour = HexColour(p.positional[2]);
    if (!colour)
        return {{}, "colours are written RRGGBB"};
    return {[=](SettingsImage& image) {
                StoreColourSlot(image, static_cast<int>(*slot), ToColorRef(*colour));
                return std::string();
            },
            {}};
}

Plan PlanPalm(const ParsedArgs& p) {
    if (p.positional.size() != 2)
        return {{}, "set palm takes one palm-rest effect"};
    if (auto bad = OnlyOptions(p, {"--speed", "--brightness", "--colour", "--color"}); !bad.empty())
        return {{}, bad};
    const std::string_view name = p.positional[1];
    const auto wide = FromUtf8(name);
    const auto code = wide ? FindPalmEffect(*wide) : std::nullopt;
    if (!code)
        return {{}, "no palm-rest effect is named " + Quoted(name)};
    std::optional<unsigned> speed, brightness;
    std::optional<Rgb> colour;
    // The speed is given as the keyboard counts it, one above the slider's position.
    const unsigned maxSpeed = SliderMaximum(kPalmSpeedSlider) + 1;
    const unsigned maxBrightness = SliderMaximum(kPalmBrightnessSlider);
    if (const auto v = p.value("--speed"); v && !(speed = NumberIn(*v, 1, maxSpeed)))
        return {{}, "--speed takes 1 to " + std::to_string(maxSpeed) + " for the palm rest"};
    if (const auto v = p.value("--brightness"); v && !(brightness = NumberIn(*v, 0, maxBrightness)))
        return {{}, "--brightness takes 0 to " + std::to_string(maxBrightness)};
    if (const auto v = ColourOption(p); v && !(colour = HexColour(*v)))
        return {{}, "colours are written RRGGBB"};
    const std::string shown = ToUtf8(EffectName(PalmEffectList, *code));
    return {[=](SettingsImage& image) -> std::string {
                image.byte(field::palmRest, palm::effect) = *code;
                if (brightness)
                    StoreSliderPosition(image, kPalmBrightnessSlider,
                                        static_cast<int>(*brightness));
                if (speed)
                    StoreSliderPosition(image, kPalmSpeedSlider, static_cast<int>(*speed) - 1);
                if (colour) {
                    if (!PalmColourEditable(image))
                        return "the colour cannot be chosen for " + Quoted(shown);
                    StorePalmColour(image, ToColorRef(*colour));
                }
                return {};
            },
            {}};
}

// game-mode, win-lock, report-rate, response-time: one byte each.
Plan PlanByte(const ParsedArgs& p, ImageField field, bool onOff, unsigned max) {
    if (p.positional.size() != 2)
        return {{}, "set " + std::string(p.positional[0]) + " takes one value"};
    if (auto bad = OnlyOptions(p, {}); !bad.empty())
        return {{}, bad};
    std::optional<unsigned> value;
    if (onOff) {
        if (const auto on = OnOff(p.positional[1]))
            value = *on ? 1 : 0;
    } else {
        value = NumberIn(p.positional[1], 0, max);
    }
    if (!value)
        return {{},
                std::string(p.positional[0]) + " takes " +
                    (onOff ? std::string("on or off") : "0 to " + std::to_string(max))};
    return {[=](SettingsImage& image) {
                image.byte(field) = static_cast<std::uint8_t>(*value);
                return std::string();
            },
            {}};
}

} // namespace

int RunSet(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, kOptions);
    if (!p.error.empty())
        return UsageError(c, kCommand, p.error);
    if (p.positional.empty())
        return UsageError(c, kCommand, "what to set is missing");
    const std::string_view what = p.positional[0];
    Plan plan;
    if (what == "effect")
        plan = PlanEffect(p);
    else if (what == "slot")
        plan = PlanSlot(p);
    else if (what == "palm")
        plan = PlanPalm(p);
    else if (what == "game-mode")
        plan = PlanByte(p, field::gameMode, true, 1);
    else if (what == "win-lock")
        plan = PlanByte(p, field::winLock, true, 1);
    else if (what == "report-rate")
        plan = PlanByte(p, field::reportRate, false, SliderMaximum(kReportRateSlider));
    else if (what == "response-time")
        plan = PlanByte(p, field::responseTime, false, SliderMaximum(kResponseTimeSlider));
    else
        return UsageError(c, kCommand, "cannot set " + Quoted(what));
    if (!plan.edit)
        return UsageError(c, kCommand, plan.usage);

    ConfigWork work(c, {.apply = !p.has("--no-apply"), .trace = p.trace});
    if (auto failed = work.Load())
        return *failed;
    SettingsImage edited = work.config().image;
    if (const std::string refused = plan.edit(edited); !refused.empty())
        return Fail(c, kExitUsage, refused);
    work.config().image = edited;
    return work.Finish();
}

} // namespace orvo::cli
