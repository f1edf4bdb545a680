@echo off
rem Starts paravib-explore in the boundaries folder, where it reads its stored stability
rem boundaries; the pictures that its key w writes go to the folder this launcher was started
rem from (as a full path, since the program itself runs inside boundaries).
setlocal
if not defined PARAVIB_PICTURE_FOLDER set "PARAVIB_PICTURE_FOLDER=%CD%"
for %%F in ("%PARAVIB_PICTURE_FOLDER%") do set "PARAVIB_PICTURE_FOLDER=%%~fF"
cd /d "%~dp0boundaries"
"%~dp0paravib-explore.exe" %*
if errorlevel 1 pause
