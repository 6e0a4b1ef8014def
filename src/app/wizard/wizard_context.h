#pragma once
// What the strategy wizard works on: the database, the settings, the data
// center with the current stock and the run parameters.
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
};
