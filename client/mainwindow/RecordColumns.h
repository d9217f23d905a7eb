#pragma once

// The cells of a record list row that the window reads back (the player's title, the record menu's items).
enum RecordColumn { TimeColumn = 1, ChannelColumn = 2, TalkTimeColumn = 5, PhoneColumn = 7, NotesColumn = 11 };
