#include "strategy/trading_engine.h"

#include <vector>

#include "gep/chromosome.h"

void SetUpTradingEngine() {
    GEP::Chromosome::setTerminals(std::vector<double>(kTradingTerminals, 0.0));
    GEP::Chromosome::setLinkingFunction(kTradingLinkingFunction);
    GEP::Chromosome::setOneArgFunctions("~");
    GEP::Chromosome::setTwoArgFunctions("& |");
    GEP::Chromosome::setHeadLength(kTradingHeadLength);
    GEP::Chromosome::setNumGenes(kTradingGenes);
}
