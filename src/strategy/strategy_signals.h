#pragma once
// The per-bar signals of the current strategy (bestChromosome of the run
// parameters) over every bar of the current stock: the formula's value for
// each bar's conditions, truncated toward zero. A non-zero signal at bar i
// means holding the stock on the day after bar i.
#include "datastore/data_center.h"

// Replaces the data center's signals under its data lock. Does nothing and
// returns false when bestChromosome is empty or not a trading chromosome
// (3 genes of 23 known symbols); the previous signals then stay.
//
// Uses the engine's process-wide settings: never while a generation run or
// another signal evaluation is in progress.
bool ComputeStrategySignals(CDataCenter& dc);
