#pragma once
// What the strategy wizard works on: the database, the settings, the data
// center with the current stock and the run parameters.
#include <cstdint>
#include <memory>

#include "datastore/data_center.h"
#include "datastore/database.h"
#include "datastore/settings.h"
#include "gep/algorithm.h"
#include "strategy/trader_individual.h"

struct WizardContext {
    Database& db;
    SettingsMap& settings;
    CDataCenter& dc;
    // Scores the traders of a run in place of the run's own evaluator (it
    // must give the same fitness); empty for the default. Tests use it to
    // hold a run at a chosen moment.
    GEP::Algorithm<TraderIndividual>::Evaluator evaluator;
    // The newest days the range page keeps out of the range ("样本外检验"),
    // which the report page then checks; 0 when the option is off. Shared by
    // the copies the pages hold.
    std::shared_ptr<int32_t> holdoutDays = std::make_shared<int32_t>(0);
};
