#ifndef TAVRIN21_PLUGIN_VERSION_H
#define TAVRIN21_PLUGIN_VERSION_H

/* The module's version block, in the one place that both the Windows resource script and the
   shared object's version note take it from. Plain preprocessor definitions, so that the
   resource compiler reads this file too. */

#define TAVRIN21_VERSION_NUMBERS 1, 0, 0, 1
#define TAVRIN21_VERSION_TEXT "1, 0, 0, 1"

/* String table 040904B0: U.S. English, Unicode. */
#define TAVRIN21_VERSION_BLOCK "040904B0"
#define TAVRIN21_VERSION_LANGUAGE 0x409
#define TAVRIN21_VERSION_CODE_PAGE 1200

#define TAVRIN21_COMPANY_NAME ""
#define TAVRIN21_FILE_DESCRIPTION "tavrin21 DLL"
#define TAVRIN21_INTERNAL_NAME "tavrin21"
#define TAVRIN21_LEGAL_TRADEMARKS ""
#define TAVRIN21_ORIGINAL_FILENAME "tavrin21.DLL"
#define TAVRIN21_PRODUCT_NAME "tavrin21 Dynamic Link Library"

#endif
