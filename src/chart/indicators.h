#pragma once
// The seven indicator generators.
#include "chart/indicator_generator.h"

#define KORVEL_DECLARE_GENERATOR(Class, Key)                         \
    class Class final : public CIndicatorDataGenerator {             \
    public:                                                          \
        const char* GetName() const override { return Key; }         \
        void Generate(const IndicatorInput& input) override;         \
    };

KORVEL_DECLARE_GENERATOR(CMaDataGenerator, "MA")
KORVEL_DECLARE_GENERATOR(CVolDataGenerator, "VOL")
KORVEL_DECLARE_GENERATOR(CMacdDataGenerator, "MACD")
KORVEL_DECLARE_GENERATOR(CKdjDataGenerator, "KDJ")
KORVEL_DECLARE_GENERATOR(CCciDataGenerator, "CCI")
KORVEL_DECLARE_GENERATOR(CRsiDataGenerator, "RSI")
KORVEL_DECLARE_GENERATOR(CBollDataGenerator, "BOLL")

#undef KORVEL_DECLARE_GENERATOR
