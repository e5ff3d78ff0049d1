// Files as Windows' private profile functions read them: each case is a file,
// a key, and what GetPrivateProfileString (default "<def>") and
// GetPrivateProfileInt (default 99) return for it. The values were taken from
// the real functions; the Windows tests check them there again, and our INI
// layer must read every case the same way on both platforms.
#pragma once

#include <string>

struct IniReadCase {
  const char* name;
  std::string file;
  const char* section;
  const char* key;
  const char* str;  // GetPrivateProfileString with default "<def>"
  int num;          // GetPrivateProfileInt with default 99
};

inline const IniReadCase kIniReadCases[] = {
    {"plain", "[Settings]\r\nTeX=platex\r\n", "Settings", "TeX", "platex", 0},
    {"case-insensitive names", "[settings]\r\ntex=platex\r\n", "SETTINGS", "TEX", "platex", 0},
    {"blanks around", "[ Settings ]\r\n  TeX  =  platex  \r\n", "Settings", "TeX", "platex", 0},
    {"double quotes", "[Settings]\r\nTeX=\"C:\\tex\\bin\\platex.exe\"\r\n", "Settings", "TeX",
     "C:\\tex\\bin\\platex.exe", 0},
    {"single quotes", "[Settings]\r\nTeX='platex'\r\n", "Settings", "TeX", "platex", 0},
    {"quotes with blanks outside", "[Settings]\r\nTeX=  \" a b \"  \r\n", "Settings", "TeX", " a b ", 0},
    {"unmatched quote", "[Settings]\r\nTeX=\"platex\r\n", "Settings", "TeX", "\"platex", 0},
    {"mixed quotes", "[Settings]\r\nTeX=\"platex'\r\n", "Settings", "TeX", "\"platex'", 0},
    {"inner quotes", "[Settings]\r\nTeX=a\"b\"c\r\n", "Settings", "TeX", "a\"b\"c", 0},
    {"empty value", "[Settings]\r\nTeX=\r\n", "Settings", "TeX", "", 99},
    {"absent key", "[Settings]\r\nBib=x\r\n", "Settings", "TeX", "<def>", 99},
    {"absent section", "[Other]\r\nTeX=x\r\n", "Settings", "TeX", "<def>", 99},
    {"duplicate key first wins", "[Settings]\r\nTeX=one\r\nTeX=two\r\n", "Settings", "TeX", "one", 0},
    {"duplicate section first wins", "[Settings]\r\nTeX=one\r\n[Settings]\r\nTeX=two\r\nBib=b2\r\n",
     "Settings", "TeX", "one", 0},
    {"duplicate section only the first is read", "[Settings]\r\nTeX=one\r\n[Settings]\r\nBib=b2\r\n",
     "Settings", "Bib", "<def>", 99},
    {"LF only", "[Settings]\nTeX=platex\n", "Settings", "TeX", "platex", 0},
    {"no final newline", "[Settings]\r\nTeX=platex", "Settings", "TeX", "platex", 0},
    {"comment line", "[Settings]\r\n;TeX=commented\r\nTeX=platex\r\n", "Settings", "TeX", "platex", 0},
    {"semicolon in value", "[Settings]\r\nTeX=a;b\r\n", "Settings", "TeX", "a;b", 0},
    {"equals in value", "[Settings]\r\nMkIdxOpt=-s=x\r\n", "Settings", "MkIdxOpt", "-s=x", 0},
    {"key before any section", "TeX=top\r\n[Settings]\r\nBib=x\r\n", "Settings", "TeX", "<def>", 99},
    {"line without equals", "[Settings]\r\nTeX\r\nBib=x\r\n", "Settings", "TeX", "<def>", 99},
    {"tabs around", "[Settings]\r\n\tTeX\t=\tplatex\t\r\n", "Settings", "TeX", "platex", 0},
    {"section with trailing text", "[Settings] junk\r\nTeX=platex\r\n", "Settings", "TeX", "platex", 0},
    {"CP932 value", "[RFL]\r\nFile0=C:\\\x95\x5c\\a.tex\r\n", "RFL", "File0", "C:\\\x95\x5c\\a.tex", 0},
    {"int plain", "[Settings]\r\nN=42\r\n", "Settings", "N", "42", 42},
    {"int signed", "[Settings]\r\nN=-7\r\n", "Settings", "N", "-7", -7},
    {"int leading blanks", "[Settings]\r\nN=   12x\r\n", "Settings", "N", "12x", 12},
    {"int no digits", "[Settings]\r\nN=abc\r\n", "Settings", "N", "abc", 0},
    {"int empty", "[Settings]\r\nN=\r\n", "Settings", "N", "", 99},
    {"int plus", "[Settings]\r\nN=+5\r\n", "Settings", "N", "+5", 5},
    {"int quoted", "[Settings]\r\nN=\"3\"\r\n", "Settings", "N", "3", 3},
};
