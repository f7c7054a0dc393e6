# Windows part of the main window (filled in later)
