// A local date and time as the computer's clock gives it (GetLocalTime), to the second.
#pragma once

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};
