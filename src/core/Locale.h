// The user's number separators, read from the locale by the Windows start-up code and used by
// the portable formatting routines. Defaults: ' ' for thousands, ',' for decimals.
#pragma once

char ThousandsSeparator();
void SetThousandsSeparator(char c);
char DecimalSeparator();
void SetDecimalSeparator(char c);
