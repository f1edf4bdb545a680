@echo off
rem Starts paravib in the boundaries folder, where it reads its stored stability boundaries.
rem The console stays open after an error, so that its message can be read.
cd /d "%~dp0boundaries"
"%~dp0paravib.exe" %*
if errorlevel 1 pause
