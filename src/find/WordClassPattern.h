#pragma once

#include <QString>

// The pattern with \w, \W, \b and \B spelled out so that a word takes in the combining marks of
// every script (and the joiners some scripts write inside words), as Unicode defines \w. PCRE2
// before 10.43 leaves marks out even with Unicode properties on, so a boundary fell between a
// letter and its accent or Devanagari vowel sign. \W inside a character class has no spelling
// that joins a class, and keeps the library's meaning.
QString withUnicodeWordClasses(const QString &pattern);
