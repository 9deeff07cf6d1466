// The product's settings for the current user: below HKEY_CURRENT_USER,
// "SOFTWARE\<company>\<product>" holds the product folder and the language.
// The install writes them, every start reads the language back.
#ifndef KESTRIN_APP_USERSETTINGS_H
#define KESTRIN_APP_USERSETTINGS_H

constexpr char kUserSoftwareKey[] = "SOFTWARE\\";
constexpr char kPathValue[] = "Path";
constexpr char kLanguageValue[] = "Language";

#endif  // KESTRIN_APP_USERSETTINGS_H
