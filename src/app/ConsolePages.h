#pragma once

class PageRegistry;

// Every page of the console, registered once, in navigation order.
const PageRegistry& consolePages();
