#pragma once
// Resource identifiers of the picture size dialog, shared by its resource script and its code.

#define IDD_PICTURE_SIZE 400
#define IDC_PICTURE_GROUP 401
// The five choices, in the dialog's order: smaller, small, medium, large, original size.
#define IDC_PICTURE_SMALLER 402
#define IDC_PICTURE_SMALL 403
#define IDC_PICTURE_MEDIUM 404
#define IDC_PICTURE_LARGE 405
#define IDC_PICTURE_ORIGINAL 406
#define IDC_PICTURE_NOW 407
#define IDC_PICTURE_ESTIMATE 408
#define IDC_PICTURE_UNREADABLE_LABEL 409
#define IDC_PICTURE_UNREADABLE 410
