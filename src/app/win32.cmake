# Windows part of start-up (filled in later)
