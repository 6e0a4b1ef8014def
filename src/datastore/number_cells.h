#pragma once
// Numbers read from a query result exactly as the program reads a result
// fetched as text: the cell's text form parsed as a leading decimal number
// (text::ParseReal / text::ParseInt). Typed cells skip the text form where
// that provably gives the same value, which makes reading bars several times
// faster than formatting every REAL as text and parsing it back.
#include <cstdint>

#include "datastore/database.h"

// Both take the rows Database::ForEachRow hands over: they read the cell
// once through Statement::ColumnValue, which needs the connection's mutex
// held, as ForEachRow holds it.
//
// The float that parsing the cell's text as a real number gives.
float CellAsFloat(const Statement& row, int column);
// The integer that parsing the cell's text as an integer gives.
int32_t CellAsInt(const Statement& row, int column);
