#include "AAX_CChunkDataParser.h"

// Construction and destruction only: the effect parameters base holds a parser. The
// parser's reading and writing come with the controls chunk.
AAX_CChunkDataParser::AAX_CChunkDataParser() : mLastFoundIndex(-1), mChunkVersion(-1), mDataValues() {}

AAX_CChunkDataParser::~AAX_CChunkDataParser() = default;
