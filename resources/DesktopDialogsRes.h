#pragma once
// Resource numbers of the desktop and program-entry dialogs. Only #define
// lines: the resource compiler reads this file too.

// The desktop dialog: its two pages under a tab strip, and the program list.
#define IDD_DESKTOP 400
#define IDC_DT_PAGES 401
#define IDC_DT_NAME 402
#define IDC_DT_COLOR_SWATCH 403
#define IDC_DT_COLOR 404
#define IDC_DT_WALLPAPER_ON 405
#define IDC_DT_WALLPAPER 406
#define IDC_DT_WALLPAPER_BROWSE 407
#define IDC_DT_SOUND_ON 408
#define IDC_DT_SOUND 409
#define IDC_DT_SOUND_BROWSE 410
#define IDC_DT_DISPLAY_ON 411
#define IDC_DT_DISPLAY 412
#define IDC_DT_NAME_GROUP 413
#define IDC_DT_DISPLAY_SET 414
// The desktop's own hot key: its name and the button that edits it.
#define IDC_DT_HOTKEY 415
#define IDC_DT_HOTKEY_SET 416
// The close page.
#define IDC_DT_CLOSE_GROUP 420
#define IDC_DT_PRESET_LABEL 421
#define IDC_DT_PRESET 422
#define IDC_DT_EXITCODE_LABEL 423
#define IDC_DT_EXITCODE 424
#define IDC_DT_DELAY_LABEL 425
#define IDC_DT_DELAY 426
#define IDC_DT_CANCELOK 427
#define IDC_DT_KINDS_LABEL 428
#define IDC_DT_KINDS 429
// The action boxes, in the order of their bits from 0x01.
#define IDC_DT_ACTION_FIRST 430
#define IDC_DT_ACTION_LAST 434
// The program list.
#define IDC_DT_PROGRAMS 440
#define IDC_DT_UP 441
#define IDC_DT_DOWN 442
#define IDC_DT_DELETE 443
#define IDC_DT_SELECTALL 444
#define IDC_DT_DESELECT 445
#define IDC_DT_CAPTURE 446

// The capture options dialog: one box per option bit.
#define IDD_CAPTURE 460
#define IDC_CP_KEEP 461
#define IDC_CP_REPLACE 462
#define IDC_CP_SKIP_LISTED 463
#define IDC_CP_EMPTY_TITLES 464
#define IDC_CP_ZERO_SIZES 465
#define IDC_CP_DISABLED 466
#define IDC_CP_MINIMIZED 467
#define IDC_CP_SIZE 468
#define IDC_CP_PRIORITY 469
#define IDC_CP_REFUSE_SHELL 470
#define IDC_CP_REFUSE_SELF 471
#define IDC_CP_ALL 472
#define IDC_CP_MOUSE 473
#define IDC_CP_DEFAULTS 474
#define IDC_DT_ADD_PROGRAM 447
#define IDC_DT_EDIT_PROGRAM 448
#define IDC_DT_TEST 449

// The program dialog.
#define IDD_PROGRAM 480
#define IDC_PG_FILE 481
#define IDC_PG_BROWSE 482
#define IDC_PG_QL 483
#define IDC_PG_SHELL 484
#define IDC_PG_PATH 485
#define IDC_PG_PATH_BROWSE 486
#define IDC_PG_ARGS 487
#define IDC_PG_ICON 488
#define IDC_PG_NAME 489
#define IDC_PG_PAGES 490
#define IDC_PG_GEOMETRY 491
#define IDC_PG_SHOW_NORMAL 492
#define IDC_PG_SHOW_MIN 493
#define IDC_PG_SHOW_MAX 494
#define IDC_PG_POS_ON 495
#define IDC_PG_X_LABEL 496
#define IDC_PG_X 497
#define IDC_PG_Y_LABEL 498
#define IDC_PG_Y 499
#define IDC_PG_SIZE_ON 500
#define IDC_PG_W_LABEL 501
#define IDC_PG_W 502
#define IDC_PG_H_LABEL 503
#define IDC_PG_H 504
#define IDC_PG_PRI_LABEL 505
#define IDC_PG_PRI_ON 506
#define IDC_PG_CLASS_LABEL 507
#define IDC_PG_CLASS 508
#define IDC_PG_THREAD_LABEL 509
#define IDC_PG_THREAD 510
#define IDC_PG_ONCE 511
#define IDC_PG_NOIME 512
#define IDC_PG_TIMEOUT_LABEL 513
#define IDC_PG_TIMEOUT 514
#define IDC_PG_TIMEOUT_UNIT 515

// The display mode dialog.
#define IDD_DISPLAY_MODE 520
#define IDC_DM_LIST 521

// The test run: its choices before, and the end methods after.
#define IDD_TEST_RUN 530
#define IDC_TR_MINIMIZE 531
#define IDC_TR_HIDE 532
#define IDC_TR_DELAY 533
#define IDD_TEST_END 540
#define IDC_TE_CLOSE 541
#define IDC_TE_QUIT 542
#define IDC_TE_TERMINATE 543
