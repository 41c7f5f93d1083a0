// Identifiers of the input-method library's resources and of the options
// dialog's controls, shared by the resource script and the system's code.
// Plain #defines, so that the resource compiler reads this file too.
#pragma once

#define IDD_OPTIONS 6             // the options dialog template
#define IDI_OPTIONS_ICON 205      // the icon the options dialog shows
#define IDB_NARROW_IMAGE 207      // 16 by 16, the SIP manager's narrow image
#define IDB_WIDE_IMAGE 208        // 32 by 16, the SIP manager's wide image

#define IDC_LANGUAGE_LIST 201     // drop-down list of language folders
#define IDC_LAYOUT_LIST 202       // drop-down list of the language's layouts
#define IDC_DEFAULT_LANGUAGE 203  // check box: the language is the default
#define IDC_DEFAULT_LAYOUT 204    // check box: the layout is the language's default
#define IDC_TYPEMATIC 205         // check box: held keys repeat
