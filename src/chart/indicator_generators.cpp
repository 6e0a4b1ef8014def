#include "chart/indicators.h"

namespace {

template <typename T>
std::unique_ptr<CIndicatorDataGenerator> Make(Series params) {
    auto generator = std::make_unique<T>();
    generator->params = std::move(params);
    return generator;
}

}  // namespace

std::vector<std::unique_ptr<CIndicatorDataGenerator>> CreateIndicatorGenerators() {
    std::vector<std::unique_ptr<CIndicatorDataGenerator>> generators;
    generators.push_back(Make<CMaDataGenerator>({5, 10, 30}));
    generators.push_back(Make<CVolDataGenerator>({5, 10, 20}));
    generators.push_back(Make<CMacdDataGenerator>({12, 26, 9}));
    generators.push_back(Make<CKdjDataGenerator>({9, 3, 3}));
    generators.push_back(Make<CCciDataGenerator>({14}));
    generators.push_back(Make<CRsiDataGenerator>({6, 12, 24}));
    generators.push_back(Make<CBollDataGenerator>({26, 2}));
    return generators;
}
