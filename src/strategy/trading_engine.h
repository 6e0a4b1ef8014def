#pragma once
// The engine's shape for trading strategies, shared by the generation run
// and the per-bar signal evaluation of a stored strategy.
//
// Symbols then read: 0 "~" (not), -1 "&" (and), -2 "|" (or), 1 .. 21 the
// condition series 0 .. 20 of the data center's generators.
#include <cstdint>

inline constexpr uint16_t kTradingTerminals = 21;
inline constexpr uint16_t kTradingHeadLength = 11;
inline constexpr uint16_t kTradingGeneLength = 23;  // head 11, tail 12
inline constexpr uint16_t kTradingGenes = 3;
inline constexpr const char* kTradingLinkingFunction = "&";

// Sets the engine's class-wide chromosome shape, in the engine's order:
// terminals, linking function, one-argument list, two-argument list, head
// length, genes. The settings are process-wide: no other run or signal
// evaluation may use the engine meanwhile. Undo with
// GEP::Chromosome::releaseFunctions().
void SetUpTradingEngine();
