// What a reviewer needs before trusting a tip file: every program, event and help call of its
// buttons, and settings rows whose value holds a ";", which the settings reader takes as the
// start of the value again (so "CALL;HLPa,b;EXEprog" acts as an EXE call).
#pragma once

#include <string>
#include <vector>

#include "tools/tip_check.h"
#include "tools/tip_text.h"

namespace vistip {

struct TipCall {
  std::string tip;      // "procedure / control / type"
  std::string control;  // the button's name
  std::string setting;  // the "CALL" value as the tip window reads it: kind, then its data
};

// Every "CALL" row of kind EXE, MSG or HLP, tip by tip in the given order, rows in the order
// the settings reader gives them.
std::vector<TipCall> ListTipCalls(const std::vector<TipText>& tips);

// Adds a problem for each settings row that holds more than one ";" (or a ";" in its control
// name), after the problems `result` already has for the same tip, keeping tips in the given
// order (the order CheckTipFile reports them).
void AddHiddenRestartProblems(const std::vector<TipText>& tips, CheckResult& result);

}  // namespace vistip
