// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// QScintilla's headers use the words "slots" and "signals", which the program switches off
// (QT_NO_KEYWORDS); they are given back around these includes only.
#define slots Q_SLOTS
#define signals Q_SIGNALS
#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexercustom.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerjava.h>
#include <Qsci/qscilexerpascal.h>
#include <Qsci/qscilexerperl.h>
#include <Qsci/qscilexersql.h>
#include <Qsci/qscilexertcl.h>
#include <Qsci/qsciprinter.h>
#include <Qsci/qsciscintilla.h>
#undef slots
#undef signals
