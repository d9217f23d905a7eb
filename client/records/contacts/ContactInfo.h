#pragma once

#include <QString>

// One phone-book entry. PhoneNum and CompanyNum may hold several numbers separated by ";".
struct ContactInfo
{
    QString Name;
    int Gender = 0;  // index into GenderTexts: 0 or 1
    QString Company;
    QString Duty;    // job title
    QString PhoneNum;
    QString CompanyNum;
    QString CompanyAddr;
    QString Notes;
};
