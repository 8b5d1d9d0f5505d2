// Makes a symbol current through the generation entry point, as a run finds it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "output/batch.h"
#include "output/generate.h"
#include "recordingsink.h"

namespace vg::test {

// Makes a variation current with its data and settings.
inline void Prepare(const std::string& variation, const std::string& main, std::vector<std::string> settings = {},
                    std::optional<std::string> addOn = std::nullopt) {
    SeriesArmed = 0;
    DataFilePending = 0;
    GenerationRequest r;
    r.variation = variation;
    r.data.main = main;
    r.data.addOn = addOn;
    // The format is the request's own, not a field to override.
    for (auto it = settings.begin(); it != settings.end();) {
        if (it->rfind("Format=", 0) == 0) {
            r.format = std::stoi(it->substr(7));
            it = settings.erase(it);
        } else {
            ++it;
        }
    }
    r.overrides = std::move(settings);
    ScopedRecordingSink quiet;
    ASSERT_EQ(PrepareSymbol(r).status, GenerationStatus::Written) << variation << " " << main;
}

}  // namespace vg::test
