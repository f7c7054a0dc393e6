// Resource identifiers of the start centre's executable, shared by StartCentre.rc and the code.
#pragma once

// The application icon (a disc): LoadIconW(instance, MAKEINTRESOURCEW(SC_IDI_APP)).
#define SC_IDI_APP 1
